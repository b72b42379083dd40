#pragma once
// Reading the tree when the bar starts: the data file, else the older data files, else the
// first-run set-up. A data file that could not be read whole is never lost: it is set aside,
// or a copy of it is kept, before anything could write over it; where neither is possible,
// no save may replace it until a copy can be kept (model/keep_aside.h).
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/file_stamp.h"
#include "model/file_replace.h"

class oVoiceBook;
namespace model {
class StagedTreeRead;
} // namespace model

namespace document {

// Waiting: another program held the data file all the time the read waited. Nothing was read
// and nothing else is (neither the older files nor the first run): the bar waits for the
// file (LoadHeldDataFile), and no save may replace it meanwhile.
enum class TreeSource { DataFile, OlderV4File, OlderFile, FirstRun, Waiting };

// What the user is told about the data file after start-up.
enum class DataFileNotice {
    None,     // read whole, or not there
    SetAside, // nothing could be read: the file was moved (or copied) aside
    KeptPart, // read in part: the tree holds what was whole; a copy of the file was kept
    KeptCopy, // the user changed the bar while another program held it: a copy was kept
    NotKept,  // not read whole, and no copy could be kept: it is left alone
};

struct StartupLoad {
    TreeSource source = TreeSource::FirstRun;
    DataFileNotice notice = DataFileNotice::None;
    // The copy that was kept (SetAside, KeptPart, KeptCopy), or the file left alone (NotKept).
    std::wstring setAside;
    // What the file saves write held, when the tree was read whole from it.
    std::optional<FileStamp> dataFile;
};

// The category shown first: the root's child named by the root's command (the category shown
// last), else its first child; null without children.
oVoiceBook* StartCategory(const oVoiceBook& root);

// `owner` owns what the first-run set-up shows. With `rest`, a data file is read only as far
// as the first paint needs (the root's list and the first
// `startChildren` children of the start category), and *rest receives the read to finish;
// the load is settled by FinishStagedLoad then.
StartupLoad LoadTreeAtStartup(oVoiceBook& root, HWND owner,
                              std::unique_ptr<model::StagedTreeRead>* rest = nullptr,
                              size_t startChildren = SIZE_MAX);

// Once rest.ReadRest is done: attaches the rest of the tree and settles `load` as a whole read
// of the file would have (a file not read whole is kept beside and the user told). `load`
// holds the stamp of the file's bytes; it is dropped when the file was not read whole.
// When the file's structure was refused, the tree is replaced by what the whole read gives
// (with its fall-backs: the older files, the first run, whose questions `owner` owns).
void FinishStagedLoad(oVoiceBook& root, model::StagedTreeRead& rest, StartupLoad& load, HWND owner);

// The data file once the program that held it at start-up let go of it: `result` and `bytes`
// as the read in the background gave them. Unless the user changed the tree meanwhile
// (`edited`), the tree is read from them with the same rules and fall-backs as at start-up.
// When they did, their tree stays, and the file as it was is kept beside it as a copy that
// they are told of: the next save writes their tree over the file.
StartupLoad LoadHeldDataFile(oVoiceBook& root, model::ReadResult result,
                             const std::vector<uint8_t>& bytes, bool edited, HWND owner);

// The line the bar shows while it waits for the data file.
std::wstring WaitingNoticeText();

// The message about the data file (from the string table); empty when there is none.
std::wstring StartupNoticeText(const StartupLoad& load);

} // namespace document
