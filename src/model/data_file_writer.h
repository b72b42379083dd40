#pragma once
// Writes finished data-file images on a thread of its own, so that the slow part of a save
// (writing beside the file, flushing it to the disk, swapping it in) does not hold up the
// window. It is handed bytes and never sees the tree. Only the newest image matters: one
// handed over while an earlier one still waits replaces it; one being written is finished.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/handle.h"

namespace model {

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
