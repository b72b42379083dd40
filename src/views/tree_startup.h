#pragma once
// Reading the tree when the bar starts: the data file, else the older data files, else the
// first-run set-up. A data file that could not be read whole is never lost: it is set aside,
// or a copy of it is kept, before anything could write over it; where neither is possible,
// no save may replace it until a copy can be kept (model/keep_aside.h).
#include <windows.h>

#include <string>

class oVoiceBook;

namespace views {

enum class TreeSource { DataFile, OlderV4File, OlderFile, FirstRun };

// What the user is told about the data file after start-up.
enum class DataFileNotice {
    None,     // read whole, or not there
    SetAside, // nothing could be read: the file was moved (or copied) aside
    KeptPart, // read in part: the tree holds what was whole; a copy of the file was kept
    InUse,    // another program held it all the time the read waited: it is left alone
    NotKept,  // not read whole, and no copy could be kept: it is left alone
};

struct StartupLoad {
    TreeSource source = TreeSource::FirstRun;
    DataFileNotice notice = DataFileNotice::None;
    // The copy that was kept (SetAside, KeptPart), or the file left alone (InUse, NotKept).
    std::wstring setAside;
};

// The category shown first: the root's child named by the root's command (the category shown
// last), else its first child; null without children.
oVoiceBook* StartCategory(const oVoiceBook& root);

// `owner` owns what the first-run set-up shows.
StartupLoad LoadTreeAtStartup(oVoiceBook& root, HWND owner);

// The message about the data file (from the string table); empty when there is none.
std::wstring StartupNoticeText(const StartupLoad& load);

} // namespace views
