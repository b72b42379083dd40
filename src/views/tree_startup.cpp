#include "views/tree_startup.h"

#include "model/data_file.h"
#include "model/data_path.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "model/file_replace.h"
#include "model/keep_aside.h"
#include "model/voice_book.h"
#include "resource.h"
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

namespace {

// The file saves write could not be read whole: keep it from harm before anything else.
void KeepDataFile(const std::wstring& path, model::LoadOutcome outcome,
                  const std::vector<uint8_t>& bytes, StartupLoad& result) {
    using model::LoadOutcome;
    if (outcome == LoadOutcome::InUse) {
        // Its content is unknown, and nothing can be copied while it is held.
        model::ProtectUntilCopied(path);
        result.notice = DataFileNotice::InUse;
        result.setAside = path;
        return;
    }
    // The copy holds the bytes exactly as they were read.
    const std::wstring kept = outcome == LoadOutcome::Partial
                                  ? model::KeepBytesAside(path, model::kIncompleteSuffix, bytes)
                                  : model::SetFileAside(path);
    if (kept.empty()) {
        model::ProtectUntilCopied(path);
        result.notice = DataFileNotice::NotKept;
        result.setAside = path;
        return;
    }
    result.notice =
        outcome == LoadOutcome::Partial ? DataFileNotice::KeptPart : DataFileNotice::SetAside;
    result.setAside = kept;
}

} // namespace

StartupLoad LoadTreeAtStartup(oVoiceBook& root, HWND owner) {
    using model::LoadOutcome;
    StartupLoad result;
    // What a run killed during a save left beside the file.
    model::RemoveLeftoverReplacements(model::DataFilePath(model::kDataFileName));
    for (const Source& source : kSources) {
        const bool written = &source == &kSources[0]; // the others are never written
        const std::wstring path = model::DataFilePath(source.fileName);
        std::vector<uint8_t> bytes;
        const LoadOutcome outcome =
            model::ReadDataFile(root, path, source.singleByte, written ? &bytes : nullptr);
        // A childless root reads as not loaded, but there is nothing in it to keep.
        if (written && (outcome == LoadOutcome::Partial || outcome == LoadOutcome::Damaged ||
                        outcome == LoadOutcome::InUse))
            KeepDataFile(path, outcome, bytes, result);
        // What could be read of a file is better than the next source.
        if (outcome == LoadOutcome::Loaded || outcome == LoadOutcome::Partial) {
            result.source = source.source;
            return result;
        }
    }
    setup::RunFirstRun(root, owner);
    result.source = TreeSource::FirstRun;
    return result;
}

std::wstring StartupNoticeText(const StartupLoad& load) {
    UINT id = 0;
    switch (load.notice) {
    case DataFileNotice::None:
        return std::wstring();
    case DataFileNotice::SetAside:
        id = IDS_DATA_FILE_SET_ASIDE;
        break;
    case DataFileNotice::KeptPart:
        id = IDS_DATA_FILE_KEPT_PART;
        break;
    case DataFileNotice::InUse:
        id = IDS_DATA_FILE_IN_USE;
        break;
    case DataFileNotice::NotKept:
        id = IDS_DATA_FILE_NOT_KEPT;
        break;
    }
    return fw::FormatText(fw::LoadResString(id).c_str(), load.setAside.c_str());
}

} // namespace views
