#include "document/tree_save.h"

#include <algorithm>
#include <new>
#include <utility>

namespace document {

FileStamp KnownFile::Stamp() const {
    std::lock_guard<std::mutex> hold(lock_);
    return stamp_;
}

uint64_t KnownFile::EditsWritten() const {
    std::lock_guard<std::mutex> hold(lock_);
    return editsWritten_;
}

void KnownFile::Set(const FileStamp& stamp) {
    std::lock_guard<std::mutex> hold(lock_);
    stamp_ = stamp;
}

void KnownFile::Written(const FileStamp& stamp, uint64_t edits) {
    std::lock_guard<std::mutex> hold(lock_);
    stamp_ = stamp;
    editsWritten_ = std::max(editsWritten_, edits);
}

TreeSave::TreeSave(const oVoiceBook& root, model::DataFileFormat format, uint64_t edits,
                   std::shared_ptr<KnownFile> known, model::TreeSnapshot&& memory)
    : snapshot_(std::move(memory)), format_(format), locale_(::GetThreadLocale()), edits_(edits),
      known_(std::move(known)) {
    snapshot_.Take(root);
}

bool TreeSave::Build(std::vector<uint8_t>& image) {
    bool built = false;
    const LCID before = ::GetThreadLocale();
    ::SetThreadLocale(locale_);
    try {
        built = model::BuildDataFileImage(snapshot_, format_, image);
    } catch (const std::bad_alloc&) {
        built = false;
    }
    snapshot_.Release(); // the texts given up since can go
    ::SetThreadLocale(before);
    if (built)
        stamp_ = StampOfBytes(image);
    else
        Finish(Result::Failed);
    return built;
}

bool TreeSave::MayReplace(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    const std::optional<FileStamp> current = ReadFileStamp(path, bytes);
    const bool editPending = edits_ > known_->EditsWritten();
    switch (DecideFileAction(known_->Stamp(), current, editPending)) {
    case FileAction::Wait:
        Finish(Result::Unreadable);
        return false;
    case FileAction::Reload:
        // Only the shown category was to be written: theirs is read instead.
        Finish(Result::ChangedElsewhere);
        return false;
    case FileAction::KeepOtherThenSave: {
        std::wstring kept = KeepOtherVersion(path, bytes);
        if (kept.empty()) {
            Finish(Result::Failed); // never written over before theirs is kept
            return false;
        }
        known_->Set(*current); // kept once, also when the move fails
        std::lock_guard<std::mutex> hold(lock_);
        kept_ = std::move(kept);
        return true;
    }
    default:
        return true;
    }
}

void TreeSave::Replaced() {
    known_->Written(stamp_, edits_);
    Finish(Result::Replaced);
}

void TreeSave::Finish(Result result) {
    std::lock_guard<std::mutex> hold(lock_);
    result_ = result;
}

TreeSave::Result TreeSave::Outcome() const {
    std::lock_guard<std::mutex> hold(lock_);
    return result_ == Result::NotDone ? Result::Failed : result_;
}

std::wstring TreeSave::Kept() const {
    std::lock_guard<std::mutex> hold(lock_);
    return kept_;
}

} // namespace document
