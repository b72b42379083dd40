#pragma once
// Reads the data file on a thread of its own while another program holds it (a backup or
// sync tool, a virus scanner), trying again every little while, so that the window goes on
// answering meanwhile and the tree can be read the moment the file is let go.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/handle.h"
#include "model/file_replace.h"

namespace model {

class HeldFileReader {
public:
    // Between two tries to open the file.
    static constexpr DWORD kRetryMs = 250;

    // Posts `message` to `window` once the file could be read, or turned out to be gone or
    // unreadable; Take gives what was read then.
    HeldFileReader(HWND window, UINT message, std::wstring path);
    ~HeldFileReader(); // stops trying; a read under way is finished first
    HeldFileReader(const HeldFileReader&) = delete;
    HeldFileReader& operator=(const HeldFileReader&) = delete;

    // Once the message has come: how the read ended, and the file's bytes (Ok).
    ReadResult Take(std::vector<uint8_t>& bytes);

private:
    struct Shared;
    static DWORD WINAPI Run(void* param) noexcept;

    std::shared_ptr<Shared> shared_;
    fw::Handle thread_;
};

} // namespace model
