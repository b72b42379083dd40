#pragma once
// Watches the folder of the shown linked category on a worker thread and tells the bar
// window when its content changes. The worker never touches the tree: it only posts.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/handle.h"

class oVoiceBook;

// Posted to the watching window: wParam 0, lParam the watched category's serial number (the
// category may be gone by the time the message arrives; see FindWatchedCategory).
constexpr UINT WM_LARK_FOLDER_CHANGED = 0xA6C1;

namespace setup {

class FolderWatcher {
public:
    // Bounds of a stop, in milliseconds.
    static constexpr DWORD kStopLimit = 10000;
    static constexpr DWORD kReleaseLimit = 100;
    // File-name, folder-name and last-write changes (0x0B), sub-folders not included.
    static constexpr DWORD kChangeFilter =
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;

    FolderWatcher() = default;
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Watches `folder` for `window`, replacing any earlier watch. A folder that cannot be
    // watched ends the worker at once.
    void Start(HWND window, const std::wstring& folder, const oVoiceBook& category);
    // Asks the worker to end and waits for it; after `limitMs` (when not 0) it is ended
    // by force. Releases the thread and its event.
    void Stop(DWORD limitMs = kStopLimit);

    bool IsRunning() const noexcept;
    // The worker's thread while one exists (for checks of its priority).
    HANDLE Thread() const noexcept { return thread_.get(); }
    uint64_t CategorySerial() const noexcept { return category_; }

private:
    static DWORD WINAPI Worker(void* self) noexcept;
    void Watch() noexcept;

    HWND window_ = nullptr;
    std::wstring folder_;
    uint64_t category_ = 0; // serial number: the worker never holds a node
    fw::Handle thread_;
    fw::Handle stopEvent_;
    fw::ChangeHandle change_;
};

// The category a WM_LARK_FOLDER_CHANGED names, looked up in the live tree below `root`; null
// when it was deleted since (the message is then ignored).
oVoiceBook* FindWatchedCategory(oVoiceBook& root, LPARAM lp);

} // namespace setup
