#include "screen_shot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "support/test_util.h"

namespace bartest {

ScreenShot TakeScreenShot(DWORD timeoutMs) {
    ScreenShot shot;
    shot.width = ::GetSystemMetrics(SM_CXSCREEN);
    shot.height = ::GetSystemMetrics(SM_CYSCREEN);
    // Written under another name and renamed when complete: the rename is the signal.
    const std::string name = "/tmp/lark-screen-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(::GetTickCount64());
    std::wstring done = L"Z:" + std::wstring(name.begin(), name.end()) + L".rgb";
    std::replace(done.begin(), done.end(), L'/', L'\\');
    std::string script = "import -window root -depth 8 rgb:" + name + ".part && mv " + name +
                         ".part " + name + ".rgb";
    std::wstring cmd = L"sh -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    // Wine starts a Linux program given by its path; its handle cannot be waited on.
    if (!::CreateProcessW(L"Z:\\bin\\sh", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi)) {
        ADD_FAILURE() << "the screen shot program did not start: " << ::GetLastError();
        return ScreenShot{};
    }
    // For a Linux program Wine hands back no handles of its own: what the structure holds may
    // be a handle of this process's (once, the window system's cached registry key, whose loss
    // left the monitor list empty). Only real process and thread handles are closed.
    if (::GetProcessId(pi.hProcess))
        ::CloseHandle(pi.hProcess);
    if (::GetThreadId(pi.hThread))
        ::CloseHandle(pi.hThread);
    if (!test::WaitUntil([&] { return test::FileExists(done); }, timeoutMs)) {
        ADD_FAILURE() << "no screen shot was written";
        return ScreenShot{};
    }
    shot.rgb = test::ReadFileBytes(done);
    ::DeleteFileW(done.c_str());
    if (shot.rgb.size() != static_cast<size_t>(shot.width) * shot.height * 3) {
        ADD_FAILURE() << "the screen shot has " << shot.rgb.size() << " bytes";
        return ScreenShot{};
    }
    return shot;
}

std::vector<COLORREF> Pixels(const ScreenShot& shot, const RECT& box) {
    std::vector<COLORREF> pixels;
    for (int y = std::max<LONG>(box.top, 0); y < std::min<LONG>(box.bottom, shot.height); ++y)
        for (int x = std::max<LONG>(box.left, 0); x < std::min<LONG>(box.right, shot.width); ++x)
            pixels.push_back(shot.Pixel(x, y));
    return pixels;
}

BoxLook LookAt(const ScreenShot& shot, const RECT& box) {
    std::map<COLORREF, size_t> counts;
    const std::vector<COLORREF> pixels = Pixels(shot, box);
    const size_t total = pixels.size();
    for (COLORREF c : pixels)
        ++counts[c];
    BoxLook look;
    look.colours = counts.size();
    size_t most = 0;
    for (const auto& [colour, n] : counts)
        if (n > most) {
            most = n;
            look.common = colour;
        }
    look.commonShare = total ? static_cast<double>(most) / total : 0;
    return look;
}

bool ShowsContent(const BoxLook& look) {
    const int light = GetRValue(look.common) + GetGValue(look.common) + GetBValue(look.common);
    return look.colours > 1 && light >= 3 * 128;
}

} // namespace bartest
