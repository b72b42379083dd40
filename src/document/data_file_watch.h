#pragma once
// Watches the data file's folder on a worker thread and posts its window whenever something
// in it changes (names, sizes, last writes), so that a file written by another copy of the
// bar is read without the user asking. The worker only waits and posts; what changed is
// found out on the window's thread.
#include <windows.h>

#include <string>

#include "framework/handle.h"

// Posted to the watching window, wParam and lParam 0.
constexpr UINT WM_LARK_DATA_FOLDER_CHANGED = 0xA6CB;

namespace document {

class DataFileWatch {
public:
    static constexpr DWORD kChangeFilter =
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

    DataFileWatch() = default;
    ~DataFileWatch() { Stop(); }
    DataFileWatch(const DataFileWatch&) = delete;
    DataFileWatch& operator=(const DataFileWatch&) = delete;

    // Watches `folder` for `window`, replacing an earlier watch; false when it cannot be.
    bool Start(HWND window, const std::wstring& folder);
    // Ends the worker and waits for it.
    void Stop();
    bool IsRunning() const noexcept;

private:
    static DWORD WINAPI Worker(void* self) noexcept;

    HWND window_ = nullptr;
    fw::ChangeHandle change_;
    fw::Handle stopEvent_;
    fw::Handle thread_;
};

} // namespace document
