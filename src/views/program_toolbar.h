#pragma once
// The child window that fills the bar: it will hold the category and program buttons.
// It reads the tree when it is created and owns the tree's save timing.
#include "framework/window.h"
#include "views/save_countdown.h"

class oVoiceBook;

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
    // Writes the tree now when a change is pending (at exit and at the end of a session).
    void SaveIfPending();
    bool IsSavePending() const noexcept { return m_nSaveCountdown.IsPending(); }

protected:
    bool OnCreate(const CREATESTRUCTW& cs) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;

private:
    // Makes `category` the shown one: the root records it, and the countdown restarts so
    // that the record reaches the data file.
    void NoteCategoryShown(oVoiceBook& category);
    // Saves with the wait cursor; a failed save stays pending.
    void SaveNow();

    SaveCountdown m_nSaveCountdown;
};
