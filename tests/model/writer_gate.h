#pragma once
// Holds a data-file writer where its file beside is open and not yet written, the way a slow
// disk does, until the test lets it go.
#include <windows.h>

#include <functional>

#include "framework/handle.h"

namespace test {

class WriterGate {
public:
    WriterGate()
        : entered_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          released_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~WriterGate() { Release(); }
    WriterGate(const WriterGate&) = delete;
    WriterGate& operator=(const WriterGate&) = delete;

    // For DataFileWriter's afterOpen; the gate must outlive the writer's thread.
    std::function<void()> Hook() {
        return [this] {
            ::SetEvent(entered_.get());
            ::WaitForSingleObject(released_.get(), 120000);
        };
    }
    // True once a write is held at the gate.
    bool WaitEntered(DWORD timeoutMs = 15000) {
        return ::WaitForSingleObject(entered_.get(), timeoutMs) == WAIT_OBJECT_0;
    }
    void Release() { ::SetEvent(released_.get()); }

private:
    fw::Handle entered_;
    fw::Handle released_;
};

} // namespace test
