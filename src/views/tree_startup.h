#pragma once
// Reading the tree when the bar starts: the data file, else the older data files, else the
// first-run set-up. A data file that is there but cannot be read is set aside first, so the
// user's data is never overwritten by what replaces it.
#include <windows.h>

#include <string>

class oVoiceBook;

namespace views {

enum class TreeSource { DataFile, OlderV4File, OlderFile, FirstRun };

struct StartupLoad {
    TreeSource source = TreeSource::FirstRun;
    // Where an unreadable data file was moved; empty when none was.
    std::wstring setAside;
};

// The category shown first: the root's child named by the root's command (the category shown
// last), else its first child; null without children.
oVoiceBook* StartCategory(const oVoiceBook& root);

// `owner` owns what the first-run set-up shows.
StartupLoad LoadTreeAtStartup(oVoiceBook& root, HWND owner);

} // namespace views
