#pragma once
// One save of the tree, as the writer thread (or, at exit, the window thread) carries it out.
// The window thread only takes a snapshot; the image is built from it where the save runs.
// Right before the new file is moved over the old one, the file is looked at: when someone
// else changed it since we last read or wrote it, DecideFileAction decides (theirs kept
// beside and ours written, or the save declined so that the window thread reads theirs),
// with nothing of ours able to come between the look and the move.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "document/file_stamp.h"
#include "model/data_file.h"
#include "model/data_file_writer.h"
#include "model/tree_snapshot.h"

namespace document {

// What the data file is known to hold, shared by the window thread and the saves.
class KnownFile {
public:
    FileStamp Stamp() const;
    // Edits (counted by the document) known to be in the file.
    uint64_t EditsWritten() const;
    void Set(const FileStamp& stamp);
    // A save holding the edits up to `edits` replaced the file with `stamp`.
    void Written(const FileStamp& stamp, uint64_t edits);

private:
    mutable std::mutex lock_;
    FileStamp stamp_;
    uint64_t editsWritten_ = 0;
};

class TreeSave final : public model::WriteTask {
public:
    enum class Result {
        NotDone,
        Replaced,
        Failed,           // the file stays as it was
        Unreadable,       // the file could not be read just then: tried again later
        ChangedElsewhere, // someone else wrote it and no edit of ours is in this save
    };

    // Takes the snapshot of the tree below `root` into `memory` (the blocks of an earlier
    // save, so that their memory is used again). `edits`: the document's count of edits.
    TreeSave(const oVoiceBook& root, model::DataFileFormat format, uint64_t edits,
             std::shared_ptr<KnownFile> known, model::TreeSnapshot&& memory);

    bool Build(std::vector<uint8_t>& image) override;
    bool MayReplace(const std::wstring& path) override;
    void Replaced() override;

    // Once the save is over.
    Result Outcome() const;
    // The other version kept beside the file; empty when none was.
    std::wstring Kept() const;
    uint64_t Edits() const noexcept { return edits_; }
    // The snapshot's blocks, for the next save.
    model::TreeSnapshot TakeMemory() { return std::move(snapshot_); }

private:
    void Finish(Result result);

    model::TreeSnapshot snapshot_;
    const model::DataFileFormat format_;
    // The window thread's: single-byte records are encoded in its code page (a language
    // pack may have set it), wherever the image is built.
    const LCID locale_;
    const uint64_t edits_;
    const std::shared_ptr<KnownFile> known_;
    FileStamp stamp_; // of the image built

    mutable std::mutex lock_; // over what follows: read by the window thread
    Result result_ = Result::NotDone;
    std::wstring kept_;
};

} // namespace document
