// LarkB.exe as a process, timed from this one, with 1,000, 10,000 and 50,000 buttons in 50
// categories:
// - start-up until its first program button is shown and painted, beside a trivial window
//   program (shown and painted) and the floor, what Wine alone costs any program that shows
//   as many windows (the bar's libraries, as many plain child windows as the bar makes, as
//   many shown; the bar reads only the few pages of its file that the first paint needs, so
//   no read), in interleaved rounds: best and median of each, the ratio to the trivial
//   program (of the bests, and the median of each round's ratio) and the bar's to the floor.
//   Targets: at most 1.3x at 1,000 buttons, 1.5x at 10,000, 2x at 50,000.
// - the peak working set at start against the private bytes once they are steady. Target:
//   at most 2x.
// - the hotkey's ToolBar menu (the whole tree): from the hotkey until the menu is shown and
//   painted, the first time in the process and later; the same for the submenu of the last
//   category opened from it, beside the floor's menu of the same shape (Wine's own price of
//   a menu that long). Target: on screen within 100 ms.
// - the exit with nothing changed: from the Exit command until the process has ended, beside
//   the end of the trivial and the floor program. Target: within half a second.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "framework/handle.h"
#include "model/data_path.h"
#include "model/voice_book.h"

#include "clock.h"
#include "process.h"

namespace {

using bench::Format;
using bench::Median;
using bench::NowMs;

constexpr wchar_t kTrivialTitle[] = L"lark bench trivial window";
constexpr wchar_t kFloorTitle[] = L"lark bench floor window";
constexpr wchar_t kBarTitle[] = L"larkRunBar ";
constexpr double kPatienceMs = 60000;
constexpr int kCategories = 50;
constexpr double kExitTargetMs = 500;

enum class Program { Trivial, Floor, Bar };

// What one start gives.
struct Start {
    double ready = -1; // shown and painted (the bar: its first program button)
    bench::MemoryFigures memory;
    bench::WindowCounts windows; // the bar's, once shown
    double menuFirst = -1;       // the ToolBar menu from the hotkey, the first time
    double submenuFirst = -1;    // the last category's submenu from the keys that open it
    double menuLater = -1;       // the same, the second time
    double submenuLater = -1;
    double exit = -1; // from the message that ends it until the process has ended
};

// Polls `done` until it holds; the time since `start`, or -1 past the patience.
template <class F> double WaitFor(double start, F done) {
    while (NowMs() - start < kPatienceMs) {
        if (done())
            return NowMs() - start;
        ::Sleep(1);
    }
    return -1;
}

bool Answers(HWND w) {
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer) != 0;
}

// The bar's private bytes once they stop growing: sampled until three in a row agree within
// a percent (the start's last allocations settle in well under a second).
bench::MemoryFigures SteadyMemory(HANDLE process) {
    bench::MemoryFigures last = bench::MemoryOf(process);
    int agreeing = 0;
    for (int i = 0; i < 50 && agreeing < 3; ++i) {
        ::Sleep(100);
        const bench::MemoryFigures now = bench::MemoryOf(process);
        agreeing = now.privateMb <= last.privateMb * 1.01 && now.privateMb >= last.privateMb * 0.99
                       ? agreeing + 1
                       : 0;
        last = now;
    }
    return last;
}

// The ToolBar menu opened by its hotkey, then the last category's submenu by the keys; both
// closed again. Times from the message that opens each until it is shown and painted.
void TimeMenu(HWND bar, DWORD pid, double& menu, double& submenu) {
    double t0 = NowMs();
    ::PostMessageW(bar, WM_HOTKEY, 1, 0);
    menu = WaitFor(t0, [&] { return bench::ShownMenus(pid) >= 1; });
    HWND top = bench::FindTopLevel(pid, nullptr, L"#32768", true);
    if (menu < 0 || !top)
        return;
    t0 = NowMs();
    for (WPARAM key : {VK_UP, VK_RIGHT})
        ::PostMessageW(top, WM_KEYDOWN, key, 0);
    submenu = WaitFor(t0, [&] { return bench::ShownMenus(pid) >= 2; });
    for (WPARAM key : {VK_ESCAPE, VK_ESCAPE})
        ::PostMessageW(top, WM_KEYDOWN, key, 0);
    WaitFor(NowMs(), [&] { return bench::ShownMenus(pid) == 0 && Answers(bar); });
}

// One start of `program`, measured until it is shown and painted; the bar then gives its
// memory and its menus, unless it is to end `atOnce` (the rest of its tree still being read).
// Ended before this returns.
Start TimeStart(Program program, const std::wstring& args, bool atOnce = false) {
    Start s;
    const std::wstring exe =
        bench::ExeFolder() + (program == Program::Bar ? L"LarkB.exe" : L"bench_trivial_window.exe");
    const wchar_t* title = program == Program::Bar     ? kBarTitle
                           : program == Program::Floor ? kFloorTitle
                                                       : kTrivialTitle;
    std::wstring line = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double start = NowMs();
    if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi)) {
        std::printf("  cannot start %ls: error %lu\n", exe.c_str(), ::GetLastError());
        return s;
    }
    fw::Handle process(pi.hProcess), thread(pi.hThread);
    HWND w = nullptr;
    s.ready = WaitFor(start, [&] {
        if (!w)
            w = bench::FindTopLevel(pi.dwProcessId, title);
        if (!w || !Answers(w))
            return false;
        return program == Program::Trivial ? bench::ShownAndPainted(w)
                                           : bench::ProgramButtonPainted(w);
    });
    if (s.ready < 0) {
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(process.get(), &code);
        std::printf("  %ls %ls never showed (exit code %lu)\n", exe.c_str(), args.c_str(), code);
    }
    if (w && program == Program::Bar && s.ready >= 0 && !atOnce) {
        s.windows = bench::CountChildWindows(w);
        s.memory = SteadyMemory(process.get());
    } else {
        s.memory = bench::MemoryOf(process.get());
    }
    // The floor's menu has the bar's shape: what Wine alone costs it.
    if (w && s.ready >= 0 && !atOnce && program != Program::Trivial) {
        TimeMenu(w, pi.dwProcessId, s.menuFirst, s.submenuFirst);
        TimeMenu(w, pi.dwProcessId, s.menuLater, s.submenuLater);
    }
    // The bar by its Exit command, with nothing changed since it started.
    const double end = NowMs();
    if (w)
        ::PostMessageW(w, program == Program::Bar ? WM_COMMAND : WM_USER + 1,
                       program == Program::Bar ? MAKEWPARAM(32774, 0) : 0, 0);
    if (::WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
        std::printf("  %ls did not end: terminated\n", exe.c_str());
        ::TerminateProcess(process.get(), 1);
    } else if (w) {
        s.exit = NowMs() - end;
    }
    return s;
}

// `buttons` in 50 top-level categories, with texts of ordinary lengths.
bool WriteDataFile(int buttons) {
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    const int each = buttons / kCategories;
    for (int c = 0; c < kCategories; ++c) {
        oVoiceBook* cat = root.AddChild(CategoryFields(L"Category " + std::to_wstring(c)));
        for (int b = 0; b < each; ++b) {
            const std::wstring n = std::to_wstring(c * each + b);
            cat->AddChild(ButtonFields(L"Program " + n,
                                       L"C:\\Program Files\\Vendor " + n + L"\\program.exe"));
        }
    }
    return root.SaveFile(model::DataFilePath(model::kDataFileName));
}

struct Series {
    std::vector<double> times;
    double Best() const {
        return times.empty() ? -1 : *std::min_element(times.begin(), times.end());
    }
    double Mid() const { return Median(times); }
};

// The median over rounds of `a`'s time against `b`'s in the same round.
double MedianRatio(const std::vector<Start>& a, const std::vector<Start>& b) {
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i].ready > 0 && b[i].ready > 0)
            ratios.push_back(a[i].ready / b[i].ready);
    return Median(ratios);
}

Series Of(const std::vector<Start>& starts, double Start::*field) {
    Series s;
    for (const Start& start : starts)
        if (start.*field >= 0)
            s.times.push_back(start.*field);
    return s;
}

void BenchSize(int buttons, int rounds, double target) {
    const std::string size = Format("%d", buttons);
    std::printf("%d buttons in %d categories of %d, %d interleaved rounds (ms)\n", buttons,
                kCategories, buttons / kCategories, rounds);
    double t0 = NowMs();
    if (!WriteDataFile(buttons)) {
        std::printf("  cannot write the data file: error %lu\n", ::GetLastError());
        return;
    }
    const std::wstring file = model::DataFilePath(model::kDataFileName);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &attributes);
    std::printf("  data file %.1f MB, written in %.0f ms\n",
                static_cast<double>(attributes.nFileSizeLow) / (1024.0 * 1024.0), NowMs() - t0);

    // The first starts warm the caches; the bar's tells how many windows it makes.
    const Start warm = TimeStart(Program::Bar, L"");
    if (warm.ready < 0)
        return; // said why above; the rounds would only wait as long again
    TimeStart(Program::Trivial, L"--window");
    std::wstring floorArgs =
        L"--floor \"" + std::wstring(kFloorTitle) + L"\" - " + std::to_wstring(warm.windows.all) +
        L" " + std::to_wstring(warm.windows.shown) + L" " + std::to_wstring(buttons / kCategories);
    std::string libraries;
    for (const std::string& name : bench::ImportedLibraries(bench::ExeFolder() + L"LarkB.exe")) {
        floorArgs += L" " + std::wstring(name.begin(), name.end());
        libraries += (libraries.empty() ? "" : " ") + name;
    }

    std::wstring libraryArgs = L"--window";
    for (const std::string& name : bench::ImportedLibraries(bench::ExeFolder() + L"LarkB.exe"))
        libraryArgs += L" " + std::wstring(name.begin(), name.end());
    std::vector<Start> trivial, linked, floor, bar, early;
    for (int i = 0; i < rounds; ++i) {
        trivial.push_back(TimeStart(Program::Trivial, L"--window"));
        linked.push_back(TimeStart(Program::Trivial, libraryArgs));
        floor.push_back(TimeStart(Program::Floor, floorArgs));
        bar.push_back(TimeStart(Program::Bar, L""));
        early.push_back(TimeStart(Program::Bar, L"", true));
    }
    const Series t = Of(trivial, &Start::ready), b = Of(bar, &Start::ready);
    // Each program's best against the trivial program's best, and the median of the rounds'
    // ratios: two figures a busy moment of the machine hardly moves.
    const auto ratios = [&](const std::vector<Start>& starts) {
        const double best = Of(starts, &Start::ready).Best();
        return std::pair<double, double>{t.Best() > 0 ? best / t.Best() : 0,
                                         MedianRatio(starts, trivial)};
    };
    std::printf("  start-up until shown and painted   best  median |  ratio to the trivial "
                "program: of the bests, median of the rounds'\n");
    const auto line = [&](const char* what, const std::vector<Start>& starts, const char* note) {
        const Series s = Of(starts, &Start::ready);
        const auto [best, mid] = ratios(starts);
        std::printf("    %-29s %7.1f %7.1f |  %5.2fx %5.2fx  %s\n", what, s.Best(), s.Mid(), best,
                    mid, note);
    };
    line("trivial window program", trivial, "");
    line("+ the bar's libraries", linked, ("(those LarkB.exe imports: " + libraries + ")").c_str());
    line("floor: + the bar's windows", floor,
         Format("(%d plain windows made, %d of them shown)", warm.windows.all, warm.windows.shown)
             .c_str());
    line("LarkB.exe, first button", bar, Format("(target at most %.1fx)", target).c_str());
    const auto [bestRatio, midRatio] = ratios(bar);
    const auto [floorBest, floorMid] = ratios(floor);
    const auto [linkedBest, linkedMid] = ratios(linked);
    const bool startMet = bestRatio <= target && midRatio <= target;
    // What the bar costs beyond the floor: its own set-up, docking and reading.
    const double overFloorBest =
        Of(floor, &Start::ready).Best() > 0 ? b.Best() / Of(floor, &Start::ready).Best() : 0;
    const double overFloorMid = MedianRatio(bar, floor);
    std::printf("    LarkB.exe against the floor   %25.2fx %5.2fx  (its own set-up, docking, "
                "reading)\n",
                overFloorBest, overFloorMid);
    bench::TableRow(
        "start-up to the first button painted", size,
        Format("%.0f ms best, %.0f median: %.2fx / %.2fx", b.Best(), b.Mid(), bestRatio, midRatio),
        Format("trivial %.0f / %.0f ms; libraries %.2fx / %.2fx; floor %.2fx / %.2fx, the bar "
               "%.2fx / %.2fx of it",
               t.Best(), t.Mid(), linkedBest, linkedMid, floorBest, floorMid, overFloorBest,
               overFloorMid),
        Format("at most %.1fx", target),
        startMet                                 ? "met"
        : std::min(floorBest, floorMid) > target ? "not met: Wine's floor alone is over it"
                                                 : "not met");

    // Memory: the bar's peak working set against its steady private bytes.
    std::vector<double> peak, steady, ratio;
    for (const Start& s : bar)
        if (s.memory.privateMb > 0) {
            peak.push_back(s.memory.peakWorkingSetMb);
            steady.push_back(s.memory.privateMb);
            ratio.push_back(s.memory.peakWorkingSetMb / s.memory.privateMb);
        }
    std::vector<double> trivialPeak, trivialPrivate, floorPeak, floorPrivate;
    for (const Start& s : trivial) {
        trivialPeak.push_back(s.memory.peakWorkingSetMb);
        trivialPrivate.push_back(s.memory.privateMb);
    }
    for (const Start& s : floor) {
        floorPeak.push_back(s.memory.peakWorkingSetMb);
        floorPrivate.push_back(s.memory.privateMb);
    }
    std::printf("  memory, MB (medians)                peak working set  steady private  ratio\n");
    std::printf("    LarkB.exe                       %16.1f %15.1f  %.2fx (target at most 2x)\n",
                Median(peak), Median(steady), Median(ratio));
    const double trivialRatio = Median(trivialPeak) / std::max(0.1, Median(trivialPrivate));
    // What Wine alone costs any program: the trivial program's working set beyond its private
    // bytes (the libraries' mapped pages, counted in the working set only). The bar's peak
    // without that part, against its private bytes, is what the bar itself holds at its peak.
    const double wine = std::max(0.0, Median(trivialPeak) - Median(trivialPrivate));
    const double beyond = (Median(peak) - wine) / std::max(0.1, Median(steady));
    std::printf("    trivial window program          %16.1f %15.1f  %.2fx (the libraries' mapped "
                "pages count in the working set only)\n",
                Median(trivialPeak), Median(trivialPrivate), trivialRatio);
    std::printf("    LarkB.exe without Wine's %4.1f MB %16.1f %15.1f  %.2fx (target at most 2x)\n",
                wine, Median(peak) - wine, Median(steady), beyond);
    std::printf("    floor program (windows, no read) %15.1f %15.1f\n", Median(floorPeak),
                Median(floorPrivate));
    const bool memoryMet = Median(ratio) <= 2.0;
    bench::TableRow(
        "peak working set at start / steady private bytes", size,
        Format("%.0f / %.0f MB: %.2fx; without Wine's part %.2fx", Median(peak), Median(steady),
               Median(ratio), beyond),
        Format("Wine's part (trivial %.0f / %.0f MB: %.2fx) %.1f MB; floor peak %.0f MB",
               Median(trivialPeak), Median(trivialPrivate), trivialRatio, wine, Median(floorPeak)),
        "at most 2x",
        memoryMet       ? std::string("met")
        : beyond <= 2.0 ? Format("not met: %.1f MB of the peak is Wine's, which any "
                                 "program pays; without it %.2fx, met",
                                 wine, beyond)
                        : Format("not met, nor without Wine's %.1f MB (%.2fx)", wine, beyond));

    // The exit with nothing changed: nothing to write, so it should cost little more than
    // the end of any process that holds as much.
    const Series be = Of(bar, &Start::exit), ee = Of(early, &Start::exit),
                 te = Of(trivial, &Start::exit), fe = Of(floor, &Start::exit);
    std::printf("  exit until the process ended           best  median\n");
    std::printf("    trivial window program           %7.1f %7.1f\n", te.Best(), te.Mid());
    std::printf("    floor program                    %7.1f %7.1f\n", fe.Best(), fe.Mid());
    std::printf("    LarkB.exe, nothing changed       %7.1f %7.1f  (target: within %.0f ms)\n",
                be.Best(), be.Mid(), kExitTargetMs);
    std::printf("    the same right after first paint %7.1f %7.1f\n", ee.Best(), ee.Mid());
    std::printf("    the first start of the new file  %7.1f          (the category it shows is "
                "the one it would show anyway)\n",
                warm.exit);
    const bool exitMet = !be.times.empty() && !ee.times.empty() && be.Mid() <= kExitTargetMs &&
                         ee.Mid() <= kExitTargetMs && warm.exit <= kExitTargetMs;
    bench::TableRow("exit with nothing changed, to the process ended", size,
                    Format("%.0f ms; right after the first paint %.0f ms; first start %.0f ms",
                           be.Mid(), ee.Mid(), warm.exit),
                    Format("trivial %.0f ms; floor %.0f ms", te.Mid(), fe.Mid()),
                    Format("within %.0f ms", kExitTargetMs), exitMet ? "met" : "not met");

    // The ToolBar menu.
    const Series mf = Of(bar, &Start::menuFirst), ml = Of(bar, &Start::menuLater),
                 sf = Of(bar, &Start::submenuFirst), sl = Of(bar, &Start::submenuLater);
    std::printf("  ToolBar menu until shown and painted   best  median\n");
    std::printf("    from the hotkey, first           %7.1f %7.1f\n", mf.Best(), mf.Mid());
    std::printf("    from the hotkey, later           %7.1f %7.1f\n", ml.Best(), ml.Mid());
    std::printf("    a category of %4d, first        %7.1f %7.1f\n", buttons / kCategories,
                sf.Best(), sf.Mid());
    std::printf("    a category of %4d, later        %7.1f %7.1f  (target: each within 100 ms)\n",
                buttons / kCategories, sl.Best(), sl.Mid());
    const Series wf = Of(floor, &Start::menuFirst), ws = Of(floor, &Start::submenuFirst);
    std::printf("    floor: Wine's menu, first        %7.1f %7.1f  (no tree, a square for each "
                "picture)\n",
                wf.Best(), wf.Mid());
    std::printf("    floor: its category of %4d      %7.1f %7.1f\n", buttons / kCategories,
                ws.Best(), ws.Mid());
    const bool menuMet =
        !mf.times.empty() && !sf.times.empty() && mf.Mid() <= 100 && sf.Mid() <= 100;
    const bool wineOver = !ws.times.empty() && std::min(ws.Best(), ws.Mid()) > 100;
    bench::TableRow("whole-tree menu, first opening (menu; a category's submenu)", size,
                    Format("%.0f ms; %.0f ms (medians; best %.0f; %.0f)", mf.Mid(), sf.Mid(),
                           mf.Best(), sf.Best()),
                    Format("later opening %.0f ms; %.0f ms; Wine's own menu of that shape %.0f "
                           "ms; %.0f ms",
                           ml.Mid(), sl.Mid(), wf.Mid(), ws.Mid()),
                    "within 100 ms",
                    menuMet    ? "met"
                    : wineOver ? "not met: Wine's own menu alone is over it"
                               : "not met");
}

} // namespace

// `bench_startup [buttons...]`: the sizes to measure (all three when none are named).
int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {1000, 10000, 50000};
    for (const int buttons : sizes) {
        const int rounds = buttons <= 1000 ? 15 : buttons <= 10000 ? 9 : 5;
        const double target = buttons <= 1000 ? 1.3 : buttons <= 10000 ? 1.5 : 2.0;
        BenchSize(buttons, rounds, target);
    }
    return 0;
}
