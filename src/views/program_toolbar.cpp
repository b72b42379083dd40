#include "views/program_toolbar.h"

#include "framework/wait_cursor.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "views/tree_startup.h"

namespace {
constexpr wchar_t kClassName[] = L"LarkProgramToolBar";
}

CProgramToolBar::CProgramToolBar() = default;
CProgramToolBar::~CProgramToolBar() = default;

HWND CProgramToolBar::Create(const RECT& rect, HWND parent, UINT id) {
    RegisterClass(kClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                  reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    return fw::Window::Create(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect,
                              parent, id);
}

bool CProgramToolBar::OnCreate(const CREATESTRUCTW&) {
    if (g_pVoiceBook) {
        {
            fw::WaitCursor wait;
            views::LoadTreeAtStartup(*g_pVoiceBook, ::GetParent(hwnd_));
        }
        if (oVoiceBook* start = views::StartCategory(*g_pVoiceBook))
            NoteCategoryShown(*start);
    }
    ::SetTimer(hwnd_, kSaveTimer, kSaveTimerPeriodMs, nullptr);
    return true;
}

void CProgramToolBar::OnDestroy() {
    ::KillTimer(hwnd_, kSaveTimer);
    SetMsgHandled(false);
}

void CProgramToolBar::OnTimer(UINT_PTR id) {
    if (id != kSaveTimer) {
        SetMsgHandled(false);
        return;
    }
    if (m_nSaveCountdown.Tick())
        SaveNow();
}

void CProgramToolBar::NoteCategoryShown(oVoiceBook& category) {
    // Showing the category's buttons comes with the bar's views; what the data file needs
    // of it is here.
    if (g_pVoiceBook)
        g_pVoiceBook->SetCommand(category.m_strName.c_str());
    m_nSaveCountdown.Restart();
}

void CProgramToolBar::SaveNow() {
    fw::WaitCursor wait;
    const bool saved =
        g_pVoiceBook && g_pVoiceBook->SaveFile(model::DataFilePath(model::kDataFileName));
    if (!saved)
        m_nSaveCountdown.SaveFailed();
}

void CProgramToolBar::SaveIfPending() {
    if (m_nSaveCountdown.TakePending())
        SaveNow();
}
