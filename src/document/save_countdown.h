#pragma once
// When the tree is written after changes: a countdown of seconds, -1 while nothing is
// pending. The first change starts it; later changes ride along; showing a category
// restarts it (the root records the category shown last). The bar's one-second timer ticks
// it, and the save is due once it passes 60, so between 60 and 61 s after the first change.
#include <cstdint>

class SaveCountdown {
public:
    static constexpr int32_t kIdle = -1;
    static constexpr int32_t kLimit = 60;

    // A change of the tree: starts the countdown unless one is running.
    void MarkModified() noexcept {
        if (m_nCount < 0)
            m_nCount = 0;
    }
    // A category was shown: starts the countdown afresh, also when one is running.
    void Restart() noexcept { m_nCount = 0; }
    // One timer tick; true when the save is due now (the countdown is then idle).
    bool Tick() noexcept {
        if (m_nCount < 0)
            return false;
        if (++m_nCount <= kLimit)
            return false;
        m_nCount = kIdle;
        return true;
    }
    // Takes the pending change for a save made now (at exit); true when there was one.
    bool TakePending() noexcept {
        if (m_nCount < 0)
            return false;
        m_nCount = kIdle;
        return true;
    }
    // A save that failed leaves the change pending: it is tried again when the countdown
    // runs out once more, and at exit.
    void SaveFailed() noexcept { MarkModified(); }

    bool IsPending() const noexcept { return m_nCount >= 0; }

private:
    int32_t m_nCount = kIdle;
};
