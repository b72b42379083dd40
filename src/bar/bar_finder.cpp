#include "bar/bar_finder.h"

#include "bar/hotkey.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "shell/launch.h"

namespace bar {

BarFinder::~BarFinder() {
    Stop();
}

void BarFinder::Start() {
    started_ = true;
    shell::SetLaunchObserver([this](const oVoiceBook& node) {
        FILETIME now{};
        ::GetSystemTimeAsFileTime(&now);
        model::LaunchStats& stats = Stats();
        const std::wstring key = model::LaunchStats::KeyFor(node);
        stats.Record(key, (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime);
        entries_.NoteLaunch(node.m_nSerial, stats.Find(key));
        // Only the order of the find box depends on it: a failed save is not worth a word.
        stats.Save(path_);
    });
}

void BarFinder::Stop() {
    if (started_)
        shell::SetLaunchObserver(nullptr);
    started_ = false;
}

model::LaunchStats& BarFinder::Stats() {
    if (!stats_) {
        path_ = model::DataFilePath(model::kLaunchStatsFile);
        stats_ = model::LaunchStats::Load(path_);
    }
    return *stats_;
}

void BarFinder::ApplyHotKey(HWND owner, int32_t code) {
    const HotKeyChord chord = HotKeyFromCode(code);
    if (!chord.active) {
        hotKey_.Unregister();
        return;
    }
    // A chord that another program (or the ToolBar menu) holds gives no hotkey; nothing is said.
    hotKey_.Register(owner, kFindHotKeyId, chord.modifiers, chord.key);
}

void BarFinder::Open(HWND owner, oVoiceBook& root, int dpi, HWND previous,
                     const std::wstring& text) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &info))
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    box_.Open(owner, &root, entries_.For(root, Stats()), info.rcWork, dpi, previous, text);
}

} // namespace bar
