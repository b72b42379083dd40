#include "views/program_toolbar.h"

#include "framework/gdi.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "framework/wait_cursor.h"
#include "model/data_file.h"
#include "model/data_file_writer.h"
#include "model/data_path.h"
#include "model/file_replace.h"
#include "model/held_file_reader.h"
#include "model/keep_aside.h"
#include "model/voice_book.h"
#include "shell/messages.h"
#include "views/tree_startup.h"

namespace {
constexpr wchar_t kClassName[] = L"LarkProgramToolBar";
}

CProgramToolBar::CProgramToolBar() = default;
CProgramToolBar::~CProgramToolBar() = default;

HWND CProgramToolBar::Create(const RECT& rect, HWND parent, UINT id, const Preferences* prefs,
                             const views::ButtonMetrics& metrics) {
    m_prefs = prefs;
    m_metrics = metrics;
    RegisterClass(kClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                  reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    // Made hidden and shown without the window system's own redrawing: showing a window of
    // many children erases each of them at once, one by one, before the first paint paints
    // them again. One invalidation of the whole bar leaves it all to that paint.
    if (!fw::Window::Create(0, kClassName, L"", WS_CHILD | WS_CLIPCHILDREN, rect, parent, id))
        return nullptr;
    ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW |
                       SWP_NOREDRAW);
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    m_bFirstPaint = true;
    return hwnd_;
}

void CProgramToolBar::OnPaint() {
    {
        fw::PaintDC dc(hwnd_); // the class brush, through the erase message
        DrawWaitingNotice(dc.get());
    }
    if (!m_bFirstPaint)
        return;
    m_bFirstPaint = false;
    // The first paint of the whole bar: the buttons are drawn here, all through one device
    // context, instead of each one painting itself (a round trip to the window system for its
    // paint message, region and device context each). The other children paint themselves.
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_ALLCHILDREN);
    for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        if (dynamic_cast<CBookButton*>(fw::Window::FromHandle(child)))
            m_changedButtons.push_back(child);
        else
            ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    DrawChangedButtons();
}

void CProgramToolBar::DrawWaitingNotice(HDC dc) const {
    if (!m_heldReader)
        return;
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd_, text, static_cast<int>(std::size(text)));
    // Where the program buttons would be: beside the paging buttons, above the tabs.
    RECT area{};
    ::GetClientRect(hwnd_, &area);
    for (HWND beside : {m_btnNextH.hwnd(), m_btnPrevH.hwnd(), m_wndTabs.hwnd()}) {
        RECT r{};
        if (!beside || !::IsWindowVisible(beside) || !::GetWindowRect(beside, &r))
            continue;
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        if (beside == m_wndTabs.hwnd())
            area.bottom = std::min(area.bottom, r.top);
        else
            area.left = std::max(area.left, r.right);
    }
    ::InflateRect(&area, -4, 0);
    fw::SelectObjectScope font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    // Wrapped in a narrow (vertical) bar, and centred in the height it has.
    constexpr UINT kFormat = DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS;
    RECT measured = area;
    ::DrawTextW(dc, text, -1, &measured, kFormat | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    if (height < area.bottom - area.top)
        area.top += (area.bottom - area.top - height) / 2;
    ::DrawTextW(dc, text, -1, &area, kFormat);
}

bool CProgramToolBar::OnCreate(const CREATESTRUCTW&) {
    if (g_pVoiceBook)
        LoadTree();
    CreateViews();
    ShowStartCategory();
    m_writer = MakeWriter();
    ::SetTimer(hwnd_, kSaveTimer, kSaveTimerPeriodMs, nullptr);
    return true;
}

std::unique_ptr<model::DataFileWriter> CProgramToolBar::MakeWriter() {
    return std::make_unique<model::DataFileWriter>(hwnd_, WM_LARK_SAVE_DONE);
}

void CProgramToolBar::OnDestroy() {
    ::KillTimer(hwnd_, kSaveTimer);
    m_heldReader.reset();
    // The main window has saved what was pending before its children go; a save still
    // being written is finished (within the writer's bounds) before the thread ends.
    m_writer.reset();
    SetMsgHandled(false);
}

void CProgramToolBar::OnTimer(UINT_PTR id) {
    if (id != kSaveTimer) {
        OnViewTimer(id);
        return;
    }
    if (m_nSaveCountdown.Tick())
        StartSave();
}

// ---- the tree's reading -------------------------------------------------------------------

void CProgramToolBar::LoadTree() {
    views::StartupLoad load;
    {
        fw::WaitCursor wait;
        load = views::LoadTreeAtStartup(*g_pVoiceBook, ::GetParent(hwnd_));
    }
    if (load.source == views::TreeSource::Waiting) {
        // Read on another thread: the window answers meanwhile, and says why it is empty.
        m_heldReader = std::make_unique<model::HeldFileReader>(
            hwnd_, WM_LARK_HELD_FILE_READ, model::DataFilePath(model::kDataFileName));
        ::SetWindowTextW(hwnd_, views::WaitingNoticeText().c_str());
        return;
    }
    TakeLoad(load);
}

void CProgramToolBar::LoadHeldFile() {
    if (!m_heldReader || !g_pVoiceBook)
        return;
    std::vector<uint8_t> bytes;
    const model::ReadResult read = m_heldReader->Take(bytes);
    m_heldReader.reset();
    ::SetWindowTextW(hwnd_, L"");
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    // Whatever the user made on the empty bar is theirs and stays.
    const bool edited = IsSavePending() || g_pVoiceBook->HasChildren();
    views::StartupLoad load;
    {
        fw::WaitCursor wait;
        load = views::LoadHeldDataFile(*g_pVoiceBook, read, bytes, edited, ::GetParent(hwnd_));
    }
    TakeLoad(load);
    if (!edited)
        ShowStartCategory();
}

void CProgramToolBar::TakeLoad(const views::StartupLoad& load) {
    m_bFirstRun = load.source == views::TreeSource::FirstRun;
    // The tree shown is not in the file, which may not be written over yet: the save stays
    // pending and is tried again until it can be.
    if (model::IsProtected(model::DataFilePath(model::kDataFileName)))
        MarkModified();
    m_strLoadNotice = views::StartupNoticeText(load);
    if (!m_strLoadNotice.empty())
        ::PostMessageW(hwnd_, WM_LARK_LOAD_NOTICE, 0, 0);
}

void CProgramToolBar::ShowLoadNotice() {
    const std::wstring text = std::exchange(m_strLoadNotice, std::wstring());
    if (!text.empty())
        shell::ShowMessage(::GetAncestor(hwnd_, GA_ROOT), text, MB_OK | MB_ICONINFORMATION);
}

LRESULT CProgramToolBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_LARK_LOAD_NOTICE) {
        ShowLoadNotice();
        return 0;
    }
    if (msg == WM_LARK_HELD_FILE_READ) {
        LoadHeldFile();
        return 0;
    }
    LRESULT result = 0;
    if (OnDragMessage(msg, wp, lp, result))
        return result;
    if (msg != WM_LARK_SAVE_DONE)
        return OnViewMessage(msg, wp, lp) ? 0 : fw::Window::OnMessage(msg, wp, lp);
    SaveDone(static_cast<uint32_t>(wp), lp != 0);
    return 0;
}

void CProgramToolBar::NoteCategoryShown(oVoiceBook& category) {
    // Showing the category's buttons comes with the bar's views; what the data file needs
    // of it is here.
    if (g_pVoiceBook)
        g_pVoiceBook->SetCommand(category.m_strName.c_str());
    m_nSaveCountdown.Restart();
}

bool CProgramToolBar::IsSaveUnderWay() const noexcept {
    return m_nSaveTicket > m_nReportedTicket && m_nSaveTicket > m_nSupersededTicket;
}

void CProgramToolBar::StartSave() {
    // Not before the file held at start-up has been read: what is in it decides.
    if (m_heldReader) {
        m_nSaveCountdown.SaveFailed();
        return;
    }
    const std::wstring path = model::DataFilePath(model::kDataFileName);
    std::vector<uint8_t> image;
    bool built = false;
    {
        fw::WaitCursor wait;
        built = g_pVoiceBook && model::BuildDataFileImage(*g_pVoiceBook, model::kSaveFormat, image);
    }
    if (!built) {
        m_nSaveCountdown.SaveFailed();
        return;
    }
    if (m_writer) {
        if (const uint32_t ticket = m_writer->Submit(path, std::move(image))) {
            m_nSaveTicket = ticket;
            return;
        }
    }
    // Without a writer (it could not start, or was stopped at the end of a session) the
    // image is written here.
    fw::WaitCursor wait;
    if (model::ReplaceFileAtomically(path, image.data(), image.size()))
        m_nSupersededTicket = m_nSaveTicket;
    else
        m_nSaveCountdown.SaveFailed();
}

void CProgramToolBar::SaveDone(uint32_t ticket, bool replaced) {
    if (ticket > m_nReportedTicket)
        m_nReportedTicket = ticket;
    // A failed write leaves the change pending: the countdown tries again, and so does the
    // exit. A save made here since covers it.
    if (!replaced && ticket > m_nSupersededTicket)
        m_nSaveCountdown.SaveFailed();
}

void CProgramToolBar::SaveNow() {
    fw::WaitCursor wait;
    const bool saved =
        g_pVoiceBook && g_pVoiceBook->SaveFile(model::DataFilePath(model::kDataFileName));
    if (saved)
        m_nSupersededTicket = m_nSaveTicket;
    else
        m_nSaveCountdown.SaveFailed();
}

void CProgramToolBar::SaveIfPending(DWORD maxWaitMs) {
    // Still held: the changes are saved only if the file can be copied first.
    m_heldReader.reset();
    bool save = m_nSaveCountdown.TakePending();
    if (m_writer) {
        // The writer finishes first, so that nothing it writes can come after the save
        // made here. One that does not finish in time is abandoned: it can no longer
        // replace the file, later saves are made here, and the tree is written now.
        fw::WaitCursor wait;
        if (m_writer->WaitIdle(maxWaitMs)) {
            // Its outcome may not have come back as a message yet.
            const model::DataFileWriter::Outcome last = m_writer->LastOutcome();
            if (last.ticket == m_nSaveTicket && last.replaced)
                m_nSupersededTicket = m_nSaveTicket; // late failure reports change nothing
            else if (m_nSaveTicket > m_nSupersededTicket)
                save = true;
        } else {
            // Given up: its own file beside is not ours, and it can no longer swap it in.
            m_writer->Stop(0);
            m_writer.reset();
            save = true;
        }
    }
    if (save)
        SaveNow();
}
