#include "setup/folder_watcher.h"

#include "model/voice_book.h"

namespace setup {
namespace {
constexpr DWORD kPollMs = 10;
}

FolderWatcher::~FolderWatcher() {
    Stop(kStopLimit);
}

bool FolderWatcher::IsRunning() const noexcept {
    return thread_ && ::WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

void FolderWatcher::Start(HWND window, const std::wstring& folder, const oVoiceBook& category) {
    if (IsRunning())
        Stop(kStopLimit);
    Stop(kReleaseLimit); // releases what an earlier worker left behind
    window_ = window;
    folder_ = folder;
    category_ = category.m_nSerial;
    // Armed here, before the caller lists the folder, so that a change made right after the
    // listing is never missed while a low-priority worker waits to be scheduled.
    change_.reset(::FindFirstChangeNotificationW(folder_.c_str(), FALSE, kChangeFilter));
    stopEvent_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!change_ || !stopEvent_) {
        Stop(kReleaseLimit);
        return;
    }
    thread_.reset(::CreateThread(nullptr, 0, &FolderWatcher::Worker, this, 0, nullptr));
    if (!thread_)
        Stop(kReleaseLimit);
}

void FolderWatcher::Stop(DWORD limitMs) {
    if (stopEvent_)
        ::SetEvent(stopEvent_.get());
    if (thread_) {
        const ULONGLONG start = ::GetTickCount64();
        while (::WaitForSingleObject(thread_.get(), kPollMs) == WAIT_TIMEOUT) {
            if (limitMs != 0 && ::GetTickCount64() - start >= limitMs) {
                // The worker only waits and posts; ending it cannot leave shared state torn.
                ::TerminateThread(thread_.get(), 1);
                ::WaitForSingleObject(thread_.get(), kPollMs);
                break;
            }
        }
    }
    thread_.reset();
    stopEvent_.reset();
    change_.reset();
}

DWORD WINAPI FolderWatcher::Worker(void* self) noexcept {
    static_cast<FolderWatcher*>(self)->Watch();
    return 0;
}

void FolderWatcher::Watch() noexcept {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_LOWEST);
    const HANDLE waits[2] = {stopEvent_.get(), change_.get()};
    for (;;) {
        const DWORD which = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (which != WAIT_OBJECT_0 + 1)
            return; // the stop event, or the wait itself failed
        if (::IsWindow(window_))
            ::PostMessageW(window_, WM_LARK_FOLDER_CHANGED, 0, static_cast<LPARAM>(category_));
        if (!::FindNextChangeNotification(change_.get()))
            return;
    }
}

oVoiceBook* FindWatchedCategory(oVoiceBook& root, LPARAM lp) {
    return static_cast<oVoiceBook*>(root.FindBySerial(static_cast<uint64_t>(lp)));
}

} // namespace setup
