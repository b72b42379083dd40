#include "app/main_app.h"

#include <cwchar>
#include <utility>

#include <shellapi.h>

#include "framework/os_version.h"
#include "app/portable.h"
#include "bar/main_dlg.h"
#include "framework/gdi.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "ui/image_lists.h"
#include "ui/window_dpi.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "resource.h"
#include "shell/messages.h"
#include "shell/program_icon.h"

namespace {
constexpr wchar_t kCompany[] = L"Tarvo";
constexpr LCID kFallbackLocale = 0x0800; // LOCALE_SYSTEM_DEFAULT
// On the bar's window, apart from the bar's own timers; it calls the application, not the bar.
constexpr UINT_PTR kReadOnlyNoticeTimer = 0x4C52;

struct TitleSearch {
    const std::wstring* title;
    HWND found;
};

// `name` is one of the arguments of `commandLine`.
bool HasSwitch(const wchar_t* commandLine, const wchar_t* name) {
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(commandLine, &count);
    if (!args)
        return false;
    bool found = false;
    for (int i = 1; i < count && !found; ++i)
        found = std::wcscmp(args[i], name) == 0;
    ::LocalFree(args);
    return found;
}

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<TitleSearch*>(data);
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length != static_cast<int>(search->title->size()))
        return TRUE;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int n = ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    if (text == *search->title) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

CMainApp::CMainApp() : fw::App(L"Lark-RunBar") {
    const OsVersionInfo v = QueryOsVersion();
    m_nOsVersion = OsVersionCode(v.platformId, v.major, v.minor);
    m_osMajor = v.major;
    m_osMinor = v.minor;
    if (HMODULE user32 = ::GetModuleHandleW(L"User32.dll"))
        m_trackMouseEvent = reinterpret_cast<TrackMouseEventFn>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "TrackMouseEvent")));
}

CMainApp::~CMainApp() {
    // The pack is freed with the selector; nothing may load from it afterwards.
    if (m_language.Pack())
        fw::SetResourceModule(nullptr);
}

void CMainApp::LoadPreferences() {
    m_prefs = ::LoadPreferences(profile());
}
void CMainApp::SavePreferences() const {
    ::SavePreferences(profile(), m_prefs);
}

HWND CMainApp::FindWindowWithExactTitle(const std::wstring& title) {
    // Countless windows have no caption: none of them is a running bar.
    if (title.empty())
        return nullptr;
    TitleSearch search{&title, nullptr};
    ::EnumWindows(&MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool CMainApp::InitInstance() {
    // 1. Only Windows 7 scales the docking rectangles by the desktop's resolution factor.
    if (m_nOsVersion == 8) {
        fw::WindowDC dc(::GetDesktopWindow());
        const int physical = ::GetDeviceCaps(dc.get(), DESKTOPHORZRES);
        const int logical = ::GetDeviceCaps(dc.get(), HORZRES);
        if (logical > 0)
            m_fDpiFactor = static_cast<float>(physical) / static_cast<float>(logical);
    }
    // 2. A portable program keeps its tree and settings beside itself.
    SetRegistryKey(kCompany);
    if (const std::optional<PortablePlaces> places = FindPortablePlaces(fw::ProgramFolder())) {
        profile().UseIniFile(places->settingsFile);
        model::SetDataFolder(places->folder);
        // Nothing can be kept there: the user is told once the bar is up.
        if (!CanWriteFile(places->settingsFile))
            m_strReadOnlyFolder = places->folder;
    }
    // 3.
    m_language.Select(profile(), true, kFallbackLocale);
    if (m_language.Pack())
        fw::SetResourceModule(m_language.Pack());
    // 4. A pack without a title gives way to the program's own (see fw::LoadResString).
    m_strTitle = fw::LoadResString(IDS_APP_TITLE);
    // 5. Written back at once so that every value exists after the first start; a start that
    // finds them all as they would be written writes nothing.
    bool asStored = false;
    m_prefs = ::LoadPreferences(profile(), &asStored);
    if (!asStored)
        SavePreferences();
    // 6. One bar per user: a window with our exact title means we are running already. The
    // tests of two bars sharing one data file start the second with a switch of their own.
    HWND other = FindWindowWithExactTitle(m_strTitle);
    if (other && !HasSwitch(::GetCommandLineW(), kSecondBarSwitch)) {
        ::SetForegroundWindow(other);
        return false;
    }
    // 7. The result is not examined: failures show later as data-file or drop failures.
    m_ole.emplace();
    // 8. The tree is read when the program button bar is created. Its pictures of programs
    // and shell items come from the shell; the lists of pictures are made with it.
    icons::SetTargetIconSource(&shell::GetNodeTargetIcons);
    // Pictures drawn from sources of the screen's resolution, not stretched.
    icons::SetPictureDpi(ui::SystemDpi());
    icons::BuildImageLists();
    // The first paint shows default pictures; icons of files and the shell come after it.
    icons::DeferTargetPictures();
    m_document = std::make_unique<document::TreeDocument>();
    // Only the part of a big tree that the first paint needs is read before it.
    m_document->SetReadInStages(true, true); // the bar begins the rest once it has painted
    // 9. The program takes no command-line arguments besides that test switch; whatever
    // else is given is ignored.
    // 10.
    m_mainDlg = std::make_unique<CMainDlg>(*this, *m_document);
    HWND main = m_mainDlg->CreateModeless(IDD_MAIN, nullptr);
    // The bar may already be gone: ended during its first run, before the loop starts.
    if (!main || !::IsWindow(main))
        return false;
    SetMainWindow(main);
    return true;
}

int CMainApp::ExitInstance() {
    m_mainDlg.reset();
    // The process ends right after this: the tree (tens of thousands of nodes in a big one)
    // is left to it rather than freed node by node. Its threads end first.
    if (m_document) {
        m_document->Close();
        static_cast<void>(m_document.release());
    }
    m_ole.reset();
    return fw::App::ExitInstance();
}

bool CMainApp::OnIdle(int) {
    // The bar has painted (painting comes before idleness): what the user cannot see in
    // the first moment is done now, then what its first category did not need.
    if (m_mainDlg)
        m_mainDlg->FinishStartUp();
    icons::CompleteImageLists();
    TellReadOnlyFolder();
    return false;
}

void CMainApp::TellReadOnlyFolder() {
    m_readOnlyNotice.Stop();
    // Never over another dialog, nor lost under it: the notice waits until the bar is let go.
    if (m_strReadOnlyFolder.empty() || !m_mainDlg || IsHeld())
        return;
    const std::wstring folder = std::exchange(m_strReadOnlyFolder, std::wstring());
    // Changes stay in memory: failed saves are tried again, failed settings are kept by the
    // profile; this is said once.
    SetHold(true);
    shell::ShowMessage(
        m_mainDlg->hwnd(),
        fw::FormatText(fw::LoadResString(IDS_PORTABLE_READ_ONLY).c_str(), folder.c_str()),
        MB_OK | MB_ICONINFORMATION);
    SetHold(false);
}

void CALLBACK CMainApp::ReadOnlyNoticeDue(HWND, UINT, UINT_PTR, DWORD) {
    if (auto* app = static_cast<CMainApp*>(fw::App::Current()))
        app->TellReadOnlyFolder();
}

bool CMainApp::PreTranslateMessage(MSG& msg) {
    return fw::App::PreTranslateMessage(msg);
}

bool CMainApp::ScalesPerMonitor() const {
    return IsWindows8OrLater(m_nOsVersion, m_osMajor, m_osMinor);
}

void CMainApp::SetHold(bool on) {
    m_bHold = on ? 1 : 0;
    if (m_holdListener)
        m_holdListener->OnHoldChanged(on);
    // A notice that waited is said once whatever let the bar go has returned: the timer
    // comes through whichever message loop runs then.
    if (!on && !m_strReadOnlyFolder.empty() && m_mainDlg && m_mainDlg->hwnd())
        m_readOnlyNotice.Start(m_mainDlg->hwnd(), kReadOnlyNoticeTimer, 0, &ReadOnlyNoticeDue);
}

BOOL CMainApp::TrackMouse(HWND hwnd, DWORD flags, DWORD hoverTime) const {
    if (!m_trackMouseEvent)
        return FALSE;
    // Non-client tracking is trusted only on the systems where it is known to work.
    if ((flags & TME_NONCLIENT) && m_nOsVersion != 2 && m_nOsVersion != 5)
        return FALSE;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = flags;
    tme.hwndTrack = hwnd;
    tme.dwHoverTime = hoverTime;
    return m_trackMouseEvent(&tme);
}
