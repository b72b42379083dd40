#include "views/tree_startup.h"

#include "model/data_file.h"
#include "model/data_path.h"
#include "model/file_replace.h"
#include "model/voice_book.h"
#include "setup/first_run.h"

namespace views {
namespace {

struct Source {
    const wchar_t* fileName;
    bool singleByte;
    TreeSource source;
};

// The first source is the file that saves write; the others are only ever read.
#ifdef LARK_SINGLE_BYTE
constexpr Source kSources[] = {
    {model::kOlderDataFile, true, TreeSource::OlderFile},
    {model::kOlderDataFileV4, true, TreeSource::OlderV4File},
};
#else
constexpr Source kSources[] = {
    {model::kCurrentDataFile, false, TreeSource::DataFile},
    {model::kOlderDataFileV4, true, TreeSource::OlderV4File},
    {model::kOlderDataFile, true, TreeSource::OlderFile},
};
#endif

} // namespace

oVoiceBook* StartCategory(const oVoiceBook& root) {
    if (oTreeNode* named = root.FindChild(root.m_strCommand))
        return static_cast<oVoiceBook*>(named);
    return root.FirstChild();
}

StartupLoad LoadTreeAtStartup(oVoiceBook& root, HWND owner) {
    StartupLoad result;
    // What a run killed during a save left beside the file.
    model::RemoveLeftoverReplacements(model::DataFilePath(model::kDataFileName));
    for (const Source& source : kSources) {
        const std::wstring path = model::DataFilePath(source.fileName);
        const model::LoadOutcome outcome = model::ReadDataFile(root, path, source.singleByte);
        if (outcome == model::LoadOutcome::Loaded) {
            result.source = source.source;
            return result;
        }
        // The next save replaces the file saves write: keep an unreadable one for recovery
        // under another name, whatever is read instead. (A childless root reads as not
        // loaded too, but there is nothing in it to keep.)
        if (&source == &kSources[0] && outcome == model::LoadOutcome::Damaged)
            result.setAside = model::SetFileAside(path);
    }
    setup::RunFirstRun(root, owner);
    result.source = TreeSource::FirstRun;
    return result;
}

} // namespace views
