#pragma once
// The benchmarks' clock, their summary of repeated rounds, and their message pump.
#include <algorithm>
#include <vector>

#include <windows.h>

namespace bench {

inline double NowMs() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? 0.0 : times[times.size() / 2];
}

// Hands out every message waiting for this thread.
inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace bench
