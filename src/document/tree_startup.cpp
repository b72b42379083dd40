#include "document/tree_startup.h"

#include <iterator>

#include "model/data_file.h"
#include "model/data_path.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "model/file_replace.h"
#include "model/keep_aside.h"
#include "model/mapped_file.h"
#include "model/staged_read.h"
#include "model/voice_book.h"
#include "resource.h"
#include "setup/first_run.h"

namespace document {
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
    // The copy holds the bytes exactly as they were read.
    // A part read has bytes; without them (a mapped file that could not be seen again) nothing
    // is kept and the file is protected instead.
    const std::wstring kept = outcome != LoadOutcome::Partial ? model::SetFileAside(path)
                              : bytes.empty()
                                  ? std::wstring()
                                  : model::KeepBytesAside(path, model::kIncompleteSuffix, bytes);
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

// What reading a source gave: the file saves write is kept from harm when it was not read
// whole. True when the tree came from it.
bool Settle(const Source& source, model::LoadOutcome outcome, const std::vector<uint8_t>& bytes,
            StartupLoad& result) {
    using model::LoadOutcome;
    // A childless root reads as not loaded, but there is nothing in it to keep.
    if (&source == &kSources[0] &&
        (outcome == LoadOutcome::Partial || outcome == LoadOutcome::Damaged))
        KeepDataFile(model::DataFilePath(source.fileName), outcome, bytes, result);
    // What could be read of a file is better than the next source.
    if (outcome != LoadOutcome::Loaded && outcome != LoadOutcome::Partial)
        return false;
    result.source = source.source;
    return true;
}

// What a read that gave no bytes comes to, as ReadDataFile tells it.
model::LoadOutcome OutcomeOfRead(model::ReadResult read) {
    switch (read) {
    case model::ReadResult::Missing:
        return model::LoadOutcome::Missing;
    case model::ReadResult::InUse:
        return model::LoadOutcome::InUse;
    default:
        return model::LoadOutcome::Damaged;
    }
}

StartupLoad ReadSources(oVoiceBook& root, HWND owner, size_t first, StartupLoad result,
                        std::unique_ptr<model::StagedTreeRead>* rest = nullptr,
                        size_t startChildren = SIZE_MAX);

// The file saves write, from its bytes as read, read whole; when it gives no tree, the
// other sources.
StartupLoad ReadWholeImage(oVoiceBook& root, HWND owner, std::vector<uint8_t> bytes,
                           StartupLoad result) {
    const model::LoadOutcome outcome =
        model::ReadDataFileBytes(root, bytes, kSources[0].singleByte);
    if (outcome == model::LoadOutcome::Loaded)
        result.dataFile = StampOfBytes(bytes);
    if (Settle(kSources[0], outcome, bytes, result))
        return result;
    return ReadSources(root, owner, 1, result);
}

// The sources from `first` on, then the first run. With `rest`, a data file is read only as
// far as the first paint needs.
StartupLoad ReadSources(oVoiceBook& root, HWND owner, size_t first, StartupLoad result,
                        std::unique_ptr<model::StagedTreeRead>* rest, size_t startChildren) {
    using model::LoadOutcome;
    for (size_t i = first; i < std::size(kSources); ++i) {
        const Source& source = kSources[i];
        const bool written = i == 0; // the others are never written
        const std::wstring path = model::DataFilePath(source.fileName);
        std::vector<uint8_t> bytes;
        LoadOutcome outcome;
        if (written && rest) {
            // A file on a local disk is mapped: the first paint touches only the pages it needs.
            model::MappedFile mapped;
            const model::ReadResult read =
                model::IsOnFixedDrive(path) ? mapped.Open(path) : model::ReadWholeFile(path, bytes);
            if (read == model::ReadResult::Ok) {
                auto staged = mapped.data()
                                  ? std::make_unique<model::StagedTreeRead>(std::move(mapped),
                                                                            source.singleByte)
                                  : std::make_unique<model::StagedTreeRead>(std::move(bytes),
                                                                            source.singleByte);
                // What the first paint needs now; the rest is the caller's to finish.
                if (staged->ReadFirst(root, &StartCategory, startChildren)) {
                    result.source = source.source;
                    *rest = std::move(staged);
                    return result;
                }
                return ReadWholeImage(root, owner, staged->TakeImage(), result);
            }
            outcome = OutcomeOfRead(read);
        } else {
            outcome =
                model::ReadDataFile(root, path, source.singleByte, written ? &bytes : nullptr);
        }
        // Held by another program: its content is unknown, not lost. Nothing may write over
        // it, and nothing is read in its place; the bar waits for it.
        if (written && outcome == LoadOutcome::InUse) {
            model::ProtectUntilCopied(path);
            result.source = TreeSource::Waiting;
            return result;
        }
        if (written && outcome == LoadOutcome::Loaded)
            result.dataFile = StampOfBytes(bytes);
        if (Settle(source, outcome, bytes, result))
            return result;
    }
    setup::RunFirstRun(root, owner);
    result.source = TreeSource::FirstRun;
    return result;
}

} // namespace

StartupLoad LoadTreeAtStartup(oVoiceBook& root, HWND owner,
                              std::unique_ptr<model::StagedTreeRead>* rest, size_t startChildren) {
    return ReadSources(root, owner, 0, StartupLoad{}, rest, startChildren);
}

void FinishStagedLoad(oVoiceBook& root, model::StagedTreeRead& rest, StartupLoad& load,
                      HWND owner) {
    if (rest.Refused()) {
        // What was shown of it goes: the file is judged as a whole read judges it.
        root.DeleteChildren();
        root.oTreeNode::Clear();
        load = ReadWholeImage(root, owner, rest.TakeImage(), StartupLoad{});
        return;
    }
    const model::LoadOutcome outcome = rest.Attach(root);
    if (outcome == model::LoadOutcome::Loaded) {
        Settle(kSources[0], outcome, {}, load);
        return;
    }
    load.dataFile.reset(); // the stamp is only kept of a file read whole
    Settle(kSources[0], outcome, rest.CopyImage(), load);
}

StartupLoad LoadHeldDataFile(oVoiceBook& root, model::ReadResult read,
                             const std::vector<uint8_t>& bytes, bool edited, HWND owner) {
    const std::wstring path = model::DataFilePath(kSources[0].fileName);
    StartupLoad result;
    // Read now: from here on the rules of a file read at start-up apply.
    model::ReleaseProtection(path);
    if (edited) {
        // The tree shown is the user's: the file as it was is kept, and they are told where.
        result.source = TreeSource::DataFile;
        if (read == model::ReadResult::Missing)
            return result;
        const std::wstring kept = read == model::ReadResult::Ok
                                      ? model::KeepBytesAside(path, model::kKeptSuffix, bytes)
                                      : model::SetFileAside(path);
        result.notice =
            read == model::ReadResult::Ok ? DataFileNotice::KeptCopy : DataFileNotice::SetAside;
        result.setAside = kept;
        if (kept.empty()) {
            model::ProtectUntilCopied(path);
            result.notice = DataFileNotice::NotKept;
            result.setAside = path;
        }
        return result;
    }
    // Gone meanwhile, it is as if it had never been there; unreadable, it is set aside.
    model::LoadOutcome outcome = read == model::ReadResult::Missing ? model::LoadOutcome::Missing
                                                                    : model::LoadOutcome::Damaged;
    if (read == model::ReadResult::Ok)
        outcome = model::ReadDataFileImage(root, bytes, kSources[0].singleByte);
    if (Settle(kSources[0], outcome, bytes, result))
        return result;
    return ReadSources(root, owner, 1, result);
}

std::wstring WaitingNoticeText() {
    return fw::LoadResString(IDS_DATA_FILE_WAITING);
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
    case DataFileNotice::KeptCopy:
        id = IDS_DATA_FILE_KEPT_EDITED;
        break;
    case DataFileNotice::NotKept:
        id = IDS_DATA_FILE_NOT_KEPT;
        break;
    }
    return fw::FormatText(fw::LoadResString(id).c_str(), load.setAside.c_str());
}

} // namespace document
