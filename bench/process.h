#pragma once
// What the benchmarks that time other programs share: finding a program's windows from
// outside, telling when one is shown and painted, its memory, and the libraries an
// executable imports.
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline std::wstring ExeFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L'\\') + 1);
}

// The first top-level window of process `pid` whose title is `title` (all of it), or whose
// class is `className`; visible ones only when `visible`.
inline HWND FindTopLevel(DWORD pid, const wchar_t* title, const wchar_t* className = nullptr,
                         bool visible = false) {
    struct Found {
        DWORD pid;
        const wchar_t* title;
        const wchar_t* className;
        bool visible;
        HWND hwnd;
    } f{pid, title, className, visible, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Found*>(p);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner != f->pid || (f->visible && !::IsWindowVisible(hwnd)))
                return TRUE;
            wchar_t text[64] = {};
            if (f->title)
                ::GetWindowTextW(hwnd, text, 64);
            else
                ::GetClassNameW(hwnd, text, 64);
            if (lstrcmpW(text, f->title ? f->title : f->className) != 0)
                return TRUE;
            f->hwnd = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.hwnd;
}

// Shown, and nothing of it waits for a paint any more.
inline bool ShownAndPainted(HWND hwnd) {
    return hwnd && ::IsWindowVisible(hwnd) && !::GetUpdateRect(hwnd, nullptr, FALSE);
}

// The bar's program buttons are the children 10000-10999 of its child 6000; true once the
// first shown one is painted. The floor program lays its plain windows out the same way.
inline bool ProgramButtonPainted(HWND top) {
    HWND strip = ::GetDlgItem(top, 6000);
    for (HWND c = strip ? ::GetWindow(strip, GW_CHILD) : nullptr; c;
         c = ::GetWindow(c, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(c);
        if (id >= 10000 && id <= 10999 && ::IsWindowVisible(c))
            return !::GetUpdateRect(c, nullptr, FALSE);
    }
    return false;
}

// Menu windows of the process that are shown and painted.
inline int ShownMenus(DWORD pid) {
    struct Count {
        DWORD pid;
        int n;
    } c{pid, 0};
    ::EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* c = reinterpret_cast<Count*>(p);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            wchar_t name[16] = {};
            ::GetClassNameW(hwnd, name, 16);
            if (owner == c->pid && ::IsWindowVisible(hwnd) && lstrcmpW(name, L"#32768") == 0 &&
                !::GetUpdateRect(hwnd, nullptr, FALSE))
                ++c->n;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&c));
    return c.n;
}

// The windows below `top`, all and those shown.
struct WindowCounts {
    int all = 0;
    int shown = 0;
};
inline WindowCounts CountChildWindows(HWND top) {
    WindowCounts n;
    ::EnumChildWindows(
        top,
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* n = reinterpret_cast<WindowCounts*>(p);
            ++n->all;
            n->shown += ::IsWindowVisible(hwnd) ? 1 : 0;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

// Wine reads these from the system for any process: the working set's peak, and the private
// bytes (the commit charge, reported as the page-file usage).
struct MemoryFigures {
    double peakWorkingSetMb = 0;
    double privateMb = 0;
};
inline MemoryFigures MemoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    if (!::GetProcessMemoryInfo(process, &pmc, sizeof(pmc)))
        return {};
    constexpr double kMb = 1024.0 * 1024.0;
    return {static_cast<double>(pmc.PeakWorkingSetSize) / kMb,
            static_cast<double>(pmc.PagefileUsage) / kMb};
}

// The names of the libraries an executable file imports, read from its import table.
inline std::vector<std::string> ImportedLibraries(const std::wstring& exe) {
    std::vector<std::string> names;
    HANDLE file = ::CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return names;
    std::vector<uint8_t> bytes(::GetFileSize(file, nullptr));
    DWORD read = 0;
    const bool ok =
        ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
        read == bytes.size();
    ::CloseHandle(file);
    if (!ok || bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > bytes.size())
        return names;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    // A relative address of the loaded image, as an offset in the file.
    const auto at = [&](DWORD rva) -> const uint8_t* {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData &&
                s.PointerToRawData + (rva - s.VirtualAddress) < bytes.size())
                return bytes.data() + s.PointerToRawData + (rva - s.VirtualAddress);
        }
        return nullptr;
    };
    const DWORD table =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(table));
    for (; entry && entry->Name; ++entry)
        if (const auto* name = reinterpret_cast<const char*>(at(entry->Name)))
            names.emplace_back(name);
    return names;
}

// A row of the table tools/bench.sh prints at the end: the figure, the size it was measured
// at, what was measured, its baseline from the same run, the target and whether it is met.
inline void TableRow(const std::string& figure, const std::string& size,
                     const std::string& measured, const std::string& baseline,
                     const std::string& target, const std::string& verdict) {
    std::printf("row | %s | %s | %s | %s | %s | %s\n", figure.c_str(), size.c_str(),
                measured.c_str(), baseline.c_str(), target.c_str(), verdict.c_str());
}

template <class... A> std::string Format(const char* format, A... a) {
    char text[256] = {};
    std::snprintf(text, sizeof(text), format, a...);
    return text;
}

} // namespace bench
