#include "document/data_file_watch.h"

namespace document {

bool DataFileWatch::Start(HWND window, const std::wstring& folder) {
    Stop();
    window_ = window;
    // Made here, so that a change right after Start is not missed by a late worker.
    change_.reset(::FindFirstChangeNotificationW(folder.c_str(), FALSE, kChangeFilter));
    stopEvent_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (change_ && stopEvent_)
        thread_.reset(::CreateThread(nullptr, 0, &DataFileWatch::Worker, this, 0, nullptr));
    if (!thread_) {
        change_.reset();
        stopEvent_.reset();
        return false;
    }
    return true;
}

void DataFileWatch::Stop() {
    if (thread_) {
        ::SetEvent(stopEvent_.get());
        // The worker only waits on the two handles: it ends at once.
        ::WaitForSingleObject(thread_.get(), INFINITE);
    }
    thread_.reset();
    stopEvent_.reset();
    change_.reset();
}

bool DataFileWatch::IsRunning() const noexcept {
    return thread_ && ::WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

DWORD WINAPI DataFileWatch::Worker(void* param) noexcept {
    auto* self = static_cast<DataFileWatch*>(param);
    const HANDLE waits[2] = {self->stopEvent_.get(), self->change_.get()};
    for (;;) {
        if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            return 0; // the stop event, or the wait itself failed
        ::PostMessageW(self->window_, WM_LARK_DATA_FOLDER_CHANGED, 0, 0);
        if (!::FindNextChangeNotification(self->change_.get()))
            return 0;
    }
}

} // namespace document
