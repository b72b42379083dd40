#pragma once
// Writes data-file images on a thread of its own, so that the slow part of a save (building
// the image, writing beside the file, flushing it to the disk, swapping it in) does not hold
// up the window. It is handed bytes, or a task that makes them from a snapshot, and never
// sees the tree. Only the newest save matters: one handed over while an earlier one still
// waits replaces it; one being written is finished.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/handle.h"

namespace model {

// One save as the writer carries it out.
class WriteTask {
public:
    virtual ~WriteTask() = default;
    // The file's new content; false fails the save (the file stays as it was).
    virtual bool Build(std::vector<uint8_t>& image) = 0;
    // The new content is on the disk beside `path`; the last word before it is moved over
    // the file, so that nothing can change the file unseen between the look and the move.
    // False keeps the file as it is (the save then counts as failed).
    virtual bool MayReplace(const std::wstring& path) {
        (void)path;
        return true;
    }
    // The file now holds the new content (still before any later save can replace it).
    virtual void Replaced() {}
};

// A task of finished bytes.
std::shared_ptr<WriteTask> ImageTask(std::vector<uint8_t>&& image);

// Carries out a task here and now: build, write beside, flush, ask, swap in. True when the
// file was replaced.
bool RunWriteTask(const std::wstring& path, WriteTask& task);

class DataFileWriter {
public:
    // How long the owner waits for the writer at the end, in milliseconds: a write of the
    // largest trees takes a second or two on a slow disk.
    static constexpr DWORD kStopLimit = 15000;

    // After each finished write, posts `message` to `window` (when not null): wParam the
    // image's ticket, lParam 1 when the file was replaced, 0 when the write failed (the file
    // is then as it was). An image replaced before it was started is not reported.
    // `afterOpen`, when given, runs on the writer's thread each time the file beside is open
    // and not yet written (tests hold the writer there, the way a slow disk does).
    DataFileWriter(HWND window, UINT message, std::function<void()> afterOpen = {});
    ~DataFileWriter(); // Stop(kStopLimit)
    DataFileWriter(const DataFileWriter&) = delete;
    DataFileWriter& operator=(const DataFileWriter&) = delete;

    // Hands `image` over to replace the file at `path`, taking it only when accepted.
    // Returns the image's ticket (counting up from 1), or 0 when the writer cannot take it
    // (its thread could not be started, or it was stopped): the caller then writes it itself.
    uint32_t Submit(const std::wstring& path, std::vector<uint8_t>&& image);
    // The same for a task; the writer holds it until it is done with it.
    uint32_t Submit(const std::wstring& path, std::shared_ptr<WriteTask> task);
    // Waits until nothing is queued or being written; false when `limitMs` passed first.
    bool WaitIdle(DWORD limitMs);

    struct Outcome {
        uint32_t ticket = 0; // 0 before the first write finished
        bool replaced = false;
    };
    // The last write that finished.
    Outcome LastOutcome() const;

    // Lets the writer finish what it was handed within `limitMs`, then ends its thread. A
    // write not finished by then is abandoned: it can no longer replace the file (its thread
    // removes the file beside and ends on its own), and nothing more is posted. Submit
    // refuses afterwards. True when everything was finished in time.
    bool Stop(DWORD limitMs = kStopLimit);
    bool IsStopped() const;

private:
    struct Shared;
    static DWORD WINAPI Run(void* param) noexcept;

    std::shared_ptr<Shared> shared_; // the thread holds it too, also after an abandonment
    fw::Handle thread_;
};

} // namespace model
