#pragma once
// The child window that fills the bar: it will hold the category and program buttons.
// It reads the tree when it is created and owns the tree's save timing.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/window.h"
#include "views/save_countdown.h"

class oVoiceBook;
namespace model {
class DataFileWriter;
}

// Posted by the data-file writer to the bar: wParam the save's ticket, lParam 1 when the
// file was replaced, 0 when the write failed.
constexpr UINT WM_LARK_SAVE_DONE = 0xA6C2;
// Posted by the bar to itself at start-up when the data file could not be read whole: the
// user is told once the bar is up.
constexpr UINT WM_LARK_LOAD_NOTICE = 0xA6C9;

class CProgramToolBar : public fw::Window {
public:
    static constexpr UINT_PTR kSaveTimer = 100;
    static constexpr UINT kSaveTimerPeriodMs = 1000;

    CProgramToolBar();
    ~CProgramToolBar() override;

    HWND Create(const RECT& rect, HWND parent, UINT id);

    // The modification notice every edit of the tree ends with: the tree is written about
    // a minute later.
    void MarkModified() noexcept { m_nSaveCountdown.MarkModified(); }
    // How long the end of a session waits for the writer thread before it writes the tree
    // itself: the system does not wait long for a program to end.
    static constexpr DWORD kSessionEndWaitMs = 3000;

    // At exit and at the end of a session: waits up to `maxWaitMs` for a save still being
    // written, then writes the tree here when a change is pending, that save failed or it
    // did not finish in time. When it returns, the newest tree is in the file (or the change
    // is still pending after a failure).
    void SaveIfPending(DWORD maxWaitMs = kExitWaitMs);
    bool IsSavePending() const noexcept { return m_nSaveCountdown.IsPending(); }
    // A save handed to the writer whose outcome has not come back yet.
    bool IsSaveUnderWay() const noexcept;

protected:
    static constexpr DWORD kExitWaitMs = 15000;

    // The writer thread of the countdown's saves (a test's may be held at a known point).
    virtual std::unique_ptr<model::DataFileWriter> MakeWriter();

    bool OnCreate(const CREATESTRUCTW& cs) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Makes `category` the shown one: the root records it, and the countdown restarts so
    // that the record reaches the data file.
    void NoteCategoryShown(oVoiceBook& category);
    // The countdown's save: the image of the tree is built here (with the wait cursor) and
    // written by the writer thread, which reports back with WM_LARK_SAVE_DONE.
    void StartSave();
    // Writes the tree here and now; a failed save stays pending.
    void SaveNow();
    void SaveDone(uint32_t ticket, bool replaced);
    // Reads the tree (with the wait cursor) and keeps what there is to tell about it.
    void LoadTree();
    void ShowLoadNotice();

    SaveCountdown m_nSaveCountdown;
    std::unique_ptr<model::DataFileWriter> m_writer;
    uint32_t m_nSaveTicket = 0;     // the last save handed to the writer
    uint32_t m_nReportedTicket = 0; // the last one whose outcome came back
    // Saves handed over up to this ticket are covered by a newer tree known to be in the
    // file: their outcome no longer matters.
    uint32_t m_nSupersededTicket = 0;
    std::wstring m_strLoadNotice; // shown once after start-up; empty when there is none
};
