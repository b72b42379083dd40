// The baseline of bench_toolbar's start-up figure: a trivial window program (one plain
// window that answers messages, nothing of the program linked in). Started with --window by
// that benchmark; on its own it has nothing to measure. `--window a.dll b.dll` loads those
// libraries before it makes its window.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--window") != 0) {
        std::printf("(the baseline window program of bench_toolbar)\n");
        return 0;
    }
    // Libraries named after --window are loaded first: what loading them costs a program.
    for (int i = 2; i < argc; ++i)
        if (!::LoadLibraryA(argv[i]))
            return 2;
    HWND w = ::CreateWindowExW(0, L"STATIC", L"lark bench trivial window", WS_POPUP | WS_VISIBLE, 0,
                               0, 300, 60, nullptr, nullptr, nullptr, nullptr);
    if (!w)
        return 1;
    MSG msg;
    // WM_USER + 1 ends it.
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_USER + 1)
        ::DispatchMessageW(&msg);
    return 0;
}
