#pragma once
// Shows the hourglass for the life of the object and restores the previous cursor.
#include <windows.h>

namespace fw {

class WaitCursor {
public:
    WaitCursor() noexcept : old_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(old_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR old_;
};

} // namespace fw
