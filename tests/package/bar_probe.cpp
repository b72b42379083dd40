// Waits for the bar of an installed or unpacked larkRunBar, run by test_package.sh under Wine:
//   bar_probe.exe <seconds> [answer]
//   bar_probe.exe header <data file>
// Exits 0 once a top-level window titled "larkRunBar " that is not a question exists; with
// "answer" it also waits for the first start's bookmark question and answers No, so the first
// run goes on to write the data file. Exits 1 when the time runs out.
// "header" prints the size of a data file's header stream and the version after its text (8 bytes
// before the end).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include <shellapi.h>

namespace {

constexpr wchar_t kCaption[] = L"larkRunBar ";

struct Found {
    HWND bar = nullptr;
    HWND question = nullptr;
};

BOOL CALLBACK Look(HWND hwnd, LPARAM lp) {
    auto* found = reinterpret_cast<Found*>(lp);
    wchar_t caption[64] = {};
    wchar_t cls[64] = {};
    ::GetWindowTextW(hwnd, caption, 64);
    if (std::wcscmp(caption, kCaption) != 0)
        return TRUE;
    // The bar is a dialog too: the question is the one with a No button.
    ::GetClassNameW(hwnd, cls, 64);
    if (std::wcscmp(cls, L"#32770") == 0 && ::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, IDNO))
        found->question = hwnd;
    else
        found->bar = hwnd;
    return TRUE;
}

int PrintHeader(const char* file) {
    // The path as typed: the code page cannot spell every folder a portable copy lies in.
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args || count != 3)
        return 1;
    const std::wstring path = args[2];
    ::LocalFree(args);
    if (FAILED(::CoInitialize(nullptr)))
        return 1;
    IStorage* storage = nullptr;
    HRESULT hr = ::StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr,
                                  0, &storage);
    if (FAILED(hr)) {
        std::printf("bar_probe: cannot open %s as a compound file, 0x%08lx\n", file, hr);
        return 1;
    }
    IStream* stream = nullptr;
    hr = storage->OpenStream(L"Header.INF", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
    unsigned char bytes[1024] = {};
    ULONG read = 0;
    if (SUCCEEDED(hr))
        hr = stream->Read(bytes, sizeof bytes, &read);
    if (stream)
        stream->Release();
    storage->Release();
    if (FAILED(hr) || read < 8) {
        std::printf("bar_probe: no header stream in %s, 0x%08lx\n", file, hr);
        return 1;
    }
    int32_t version = 0;
    std::memcpy(&version, bytes + read - 8, 4); // the text, the version, 4 bytes more
    std::printf("%lu %ld\n", read, static_cast<long>(version));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "header") == 0)
        return PrintHeader(argv[2]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bar_probe <seconds> [answer]\n");
        return 2;
    }
    const DWORD limit = static_cast<DWORD>(std::atoi(argv[1])) * 1000;
    const bool answer = argc > 2 && std::strcmp(argv[2], "answer") == 0;
    const DWORD start = ::GetTickCount();
    bool barSeen = false;
    bool answered = false;
    while (::GetTickCount() - start < limit) {
        Found found;
        ::EnumWindows(&Look, reinterpret_cast<LPARAM>(&found));
        if (found.bar && !barSeen) {
            barSeen = true;
            std::printf("bar_probe: the bar's window is there\n");
        }
        if (answer && found.question && !answered) {
            // Posted: the question runs its own loop in the bar's process.
            if (!::PostMessageW(found.question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED),
                                reinterpret_cast<LPARAM>(::GetDlgItem(found.question, IDNO))))
                std::printf("bar_probe: answering failed, error %lu\n", ::GetLastError());
            else {
                answered = true;
                std::printf("bar_probe: the bookmark question was answered No\n");
            }
        }
        if (barSeen && (!answer || answered))
            return 0;
        ::Sleep(250);
    }
    std::printf("bar_probe: after %s s: bar %s, question %s\n", argv[1],
                barSeen ? "seen" : "NOT seen", answered ? "answered" : "NOT seen");
    return 1;
}
