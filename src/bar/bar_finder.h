#pragma once
// Everything the bar keeps for finding buttons by typing: the find box, its hotkey and the
// launch counts that order it (loaded at first use, saved after every launch).
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "bar/find_box.h"
#include "framework/registrations.h"
#include "model/launch_stats.h"

class oVoiceBook;

namespace bar {

constexpr int kFindHotKeyId = 2;

class BarFinder {
public:
    explicit BarFinder(CFindBox::Chosen chosen) : box_(std::move(chosen)) {}
    ~BarFinder();
    BarFinder(const BarFinder&) = delete;
    BarFinder& operator=(const BarFinder&) = delete;

    // Starts counting the launches of every node (shell::RunNode) into the file beside the
    // data file; Stop ends that.
    void Start();
    void Stop();
    // Registers the hotkey of "FindHotKeyCode" for `owner` again; zero or less removes it.
    void ApplyHotKey(HWND owner, int32_t code);
    bool HotKeyRegistered() const noexcept { return hotKey_.Registered(); }

    // Opens the box over the tree below `root` on the work area of `owner`'s monitor, at
    // `dpi` (the bar's), with `text` typed; Escape gives the foreground back to `previous`.
    void Open(HWND owner, oVoiceBook& root, int dpi, HWND previous, const std::wstring& text);
    CFindBox& Box() noexcept { return box_; }
    const CFindBox& Box() const noexcept { return box_; }

private:
    model::LaunchStats& Stats();

    CFindBox box_;
    FindEntriesCache entries_;
    fw::HotKey hotKey_;
    std::optional<model::LaunchStats> stats_;
    std::wstring path_;
    bool started_ = false;
};

} // namespace bar
