#include "model/data_file_writer.h"

#include <optional>
#include <utility>

#include "model/file_replace.h"

namespace model {
namespace {

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) noexcept : lock_(lock) {
        ::AcquireSRWLockExclusive(&lock_);
    }
    ~ExclusiveLock() { ::ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

struct Job {
    uint32_t ticket = 0;
    std::wstring path;
    std::shared_ptr<WriteTask> task;
};

class FinishedImage final : public WriteTask {
public:
    explicit FinishedImage(std::vector<uint8_t>&& image) : image_(std::move(image)) {}
    bool Build(std::vector<uint8_t>& image) override {
        image = std::move(image_);
        return true;
    }

private:
    std::vector<uint8_t> image_;
};

} // namespace

std::shared_ptr<WriteTask> ImageTask(std::vector<uint8_t>&& image) {
    return std::make_shared<FinishedImage>(std::move(image));
}

bool RunWriteTask(const std::wstring& path, WriteTask& task) {
    std::vector<uint8_t> image;
    if (!task.Build(image))
        return false;
    Replacement file(path);
    const bool written = file.Open() && file.Write(image.data(), image.size());
    image = std::vector<uint8_t>();
    if (!written || !task.MayReplace(path) || !file.SwapIn())
        return false;
    task.Replaced();
    return true;
}

struct DataFileWriter::Shared {
    Shared(HWND w, UINT m, std::function<void()> hook)
        : window(w), message(m), afterOpen(std::move(hook)) {}

    const HWND window;
    const UINT message;
    const std::function<void()> afterOpen;

    // Everything below `lock`; `changed` is woken on every change of it.
    mutable SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
    std::optional<Job> queued;
    bool writing = false;
    bool stopping = false; // no more images taken; the thread ends once the queue is empty
    uint32_t lastTicket = 0;
    Outcome last;

    // Held from the check for an abandonment to the end of the swap, so that once Stop has
    // abandoned a write, it cannot replace the file any more.
    SRWLOCK swapLock = SRWLOCK_INIT;
    bool abandoned = false; // under both locks

    void Work() noexcept;
};

DataFileWriter::DataFileWriter(HWND window, UINT message, std::function<void()> afterOpen)
    : shared_(std::make_shared<Shared>(window, message, std::move(afterOpen))) {
    auto param = std::make_unique<std::shared_ptr<Shared>>(shared_);
    thread_.reset(::CreateThread(nullptr, 0, &DataFileWriter::Run, param.get(), 0, nullptr));
    if (thread_)
        param.release(); // the thread owns it now
    else
        shared_->stopping = true;
}

DataFileWriter::~DataFileWriter() {
    Stop(kStopLimit);
}

DWORD WINAPI DataFileWriter::Run(void* param) noexcept {
    const std::unique_ptr<std::shared_ptr<Shared>> shared(
        static_cast<std::shared_ptr<Shared>*>(param));
    (*shared)->Work();
    return 0;
}

void DataFileWriter::Shared::Work() noexcept {
    for (;;) {
        Job job;
        {
            ExclusiveLock hold(lock);
            while (!queued && !stopping)
                ::SleepConditionVariableSRW(&changed, &lock, INFINITE, 0);
            if (!queued || abandoned)
                return;
            job = std::move(*queued);
            queued.reset();
            writing = true;
        }
        std::vector<uint8_t> image;
        bool replaced = job.task->Build(image);
        // A file beside of its own: a write made on another thread after this one was given
        // up never meets it, and what this one removes is only its own.
        Replacement file(job.path);
        replaced = replaced && file.Open();
        if (replaced && afterOpen)
            afterOpen();
        replaced = replaced && file.Write(image.data(), image.size());
        image = std::vector<uint8_t>(); // no need to hold the memory any longer
        ExclusiveLock swap(swapLock);
        if (abandoned) {
            file.Discard();
            replaced = false;
        } else if (replaced) {
            // Asked under the swap lock, right before the move: nothing of ours comes between.
            replaced = job.task->MayReplace(job.path) && file.SwapIn();
            if (replaced)
                job.task->Replaced();
            else
                file.Discard();
        }
        job.task.reset(); // before the report: its owner may look at it then
        {
            ExclusiveLock hold(lock);
            writing = false;
            last = Outcome{job.ticket, replaced};
            ::WakeAllConditionVariable(&changed);
        }
        // Under the swap lock, so that nothing is posted once Stop has given up on the thread.
        if (!abandoned && window)
            ::PostMessageW(window, message, job.ticket, replaced ? 1 : 0);
    }
}

uint32_t DataFileWriter::Submit(const std::wstring& path, std::vector<uint8_t>&& image) {
    const auto task = std::make_shared<FinishedImage>(std::move(image));
    const uint32_t ticket = Submit(path, task);
    if (!ticket)
        task->Build(image); // refused: the caller keeps the image
    return ticket;
}

uint32_t DataFileWriter::Submit(const std::wstring& path, std::shared_ptr<WriteTask> task) {
    std::optional<Job> replaced; // released outside the lock
    uint32_t ticket = 0;
    {
        ExclusiveLock hold(shared_->lock);
        if (shared_->stopping || !task)
            return 0;
        ticket = ++shared_->lastTicket;
        replaced = std::exchange(shared_->queued, Job{ticket, path, std::move(task)});
    }
    // Woken once the lock is free: woken under it, the writer would wait for the lock and be
    // woken again by its release, and each wake may give it this thread's processor.
    ::WakeAllConditionVariable(&shared_->changed);
    return ticket;
}

bool DataFileWriter::WaitIdle(DWORD limitMs) {
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    ExclusiveLock hold(shared_->lock);
    while (shared_->queued || shared_->writing) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end)
            return false;
        ::SleepConditionVariableSRW(&shared_->changed, &shared_->lock,
                                    static_cast<DWORD>(end - now), 0);
    }
    return true;
}

DataFileWriter::Outcome DataFileWriter::LastOutcome() const {
    ExclusiveLock hold(shared_->lock);
    return shared_->last;
}

bool DataFileWriter::IsStopped() const {
    ExclusiveLock hold(shared_->lock);
    return shared_->stopping;
}

bool DataFileWriter::Stop(DWORD limitMs) {
    {
        ExclusiveLock hold(shared_->lock);
        shared_->stopping = true;
        ::WakeAllConditionVariable(&shared_->changed);
    }
    if (!thread_)
        return true;
    if (::WaitForSingleObject(thread_.get(), limitMs) == WAIT_OBJECT_0) {
        thread_.reset();
        return true;
    }
    std::optional<Job> dropped; // released outside the locks
    {
        ExclusiveLock swap(shared_->swapLock);
        ExclusiveLock hold(shared_->lock);
        shared_->abandoned = true;
        dropped = std::exchange(shared_->queued, std::nullopt);
        ::WakeAllConditionVariable(&shared_->changed);
    }
    thread_.reset(); // the thread ends by itself, holding what it shares with this object
    return false;
}

} // namespace model
