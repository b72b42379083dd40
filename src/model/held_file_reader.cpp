#include "model/held_file_reader.h"

#include <mutex>
#include <utility>

namespace model {

struct HeldFileReader::Shared {
    Shared(HWND w, UINT m, std::wstring p) : window(w), message(m), path(std::move(p)) {}

    const HWND window;
    const UINT message;
    const std::wstring path;
    fw::Handle stop{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};

    std::mutex lock; // over what follows
    ReadResult result = ReadResult::InUse;
    std::vector<uint8_t> bytes;

    void Work() noexcept;
};

HeldFileReader::HeldFileReader(HWND window, UINT message, std::wstring path)
    : shared_(std::make_shared<Shared>(window, message, std::move(path))) {
    if (!shared_->stop)
        return;
    auto param = std::make_unique<std::shared_ptr<Shared>>(shared_);
    thread_.reset(::CreateThread(nullptr, 0, &HeldFileReader::Run, param.get(), 0, nullptr));
    if (thread_)
        param.release(); // the thread owns it now
}

HeldFileReader::~HeldFileReader() {
    if (!thread_)
        return;
    ::SetEvent(shared_->stop.get());
    // A read under way ends on its own (it holds what it shares); nothing is posted after
    // the stop.
    ::WaitForSingleObject(thread_.get(), 5000);
}

DWORD WINAPI HeldFileReader::Run(void* param) noexcept {
    const std::unique_ptr<std::shared_ptr<Shared>> shared(
        static_cast<std::shared_ptr<Shared>*>(param));
    (*shared)->Work();
    return 0;
}

void HeldFileReader::Shared::Work() noexcept {
    std::vector<uint8_t> read;
    ReadResult got = ReadResult::InUse;
    try {
        do {
            got = ReadWholeFile(path, read, kMaxDataFileSize, 0);
        } while (got == ReadResult::InUse &&
                 ::WaitForSingleObject(stop.get(), kRetryMs) == WAIT_TIMEOUT);
    } catch (...) {
        got = ReadResult::Failed;
    }
    if (got == ReadResult::InUse)
        return; // stopped
    {
        std::lock_guard<std::mutex> hold(lock);
        result = got;
        bytes = std::move(read);
    }
    if (::WaitForSingleObject(stop.get(), 0) == WAIT_TIMEOUT)
        ::PostMessageW(window, message, 0, 0);
}

ReadResult HeldFileReader::Take(std::vector<uint8_t>& bytes) {
    std::lock_guard<std::mutex> hold(shared_->lock);
    bytes = std::exchange(shared_->bytes, std::vector<uint8_t>());
    return shared_->result;
}

} // namespace model
