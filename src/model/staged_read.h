#pragma once
// The data file decoded in two steps, so that the bar can paint before the whole tree is in:
// first the root's list and the one category the bar shows (as many of its children as a
// page can hold, each with everything below it), into the tree; then, on any thread, the rest
// of that category and the subtrees of the other top-level categories as plain values
// (records and the tree's shape), which the window thread turns into nodes and attaches.
// The file's structure is checked at the start of the second step: only a file found sound
// and whole is finished this way; any other is read whole (ReadDataFileBytes), with its
// fall-backs, in place of what the first step made.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "model/compound_file_check.h"
#include "model/child_list.h"
#include "model/compound_image.h"
#include "model/data_file.h"
#include "model/mapped_file.h"
#include "model/record_codec.h"

class oVoiceBook;

namespace model {

// One node of a subtree in pre-order, with the number of its children (which follow it).
struct FlatNode {
    NodeRecordFields fields;
    std::vector<uint8_t> idList; // empty: none
    uint32_t children = 0;
};

// What lies below one top-level category, or below its first children already attached.
struct FlatSubtree {
    size_t position = 0;         // in the root's list
    uint32_t children = 0;       // of the category itself, here
    std::vector<FlatNode> nodes; // their subtrees, in pre-order
};

class StagedTreeRead {
public:
    // `image` is the whole file as read; it stays here until the read is over.
    StagedTreeRead(std::vector<uint8_t> image, bool singleByte);
    // The same from a mapped file, whose pages are touched only as far as each step needs,
    // and given back on the way (the rest of a big file never stays in memory whole).
    // `pagesKept`: how much may be read before the pages are given back.
    StagedTreeRead(MappedFile file, bool singleByte, size_t pagesKept = size_t{4} << 20);

    // Window thread. Replaces the root's content with the file's root and its top-level list,
    // and reads the first `firstChildren` children of the category `first` picks from them,
    // with everything below each (the rest of it comes with ReadRest). False when the file is
    // not one this way takes (no compound file, no category at the top): the root is
    // untouched and the image is the caller's again (TakeImage).
    bool ReadFirst(oVoiceBook& root, const std::function<oVoiceBook*(const oVoiceBook&)>& first,
                   size_t firstChildren = SIZE_MAX);
    // After ReadFirst: the chosen category holds all of its content (it had no more children
    // than it was to read, or there was none).
    bool FirstIsWhole() const noexcept { return firstWhole_; }
    // After ReadFirst: the file's FAT is spread over it (an older build's file, or one the
    // system's storage code wrote), which every start then reads piece by piece.
    bool FatSpread() const noexcept { return fatSpread_; }
    // Any thread, after ReadFirst and once: the rest of the chosen category and the other
    // top-level subtrees as plain values.
    // Stops early, leaving the read unfinished, when `stop` is set: it is looked at between
    // categories and every kStopCheckRecords records inside one, and the category it stops
    // in is dropped (never attached as if whole).
    void ReadRest(const std::atomic<bool>& stop);
    static constexpr size_t kStopCheckRecords = 256;
    // Called on ReadRest's thread each time it is about to look at its stop flag inside a
    // category, with the records it has read so far (a test stops it at a known point).
    using Checkpoint = std::function<void(size_t records, const std::atomic<bool>& stop)>;
    void SetCheckpoint(Checkpoint checkpoint) { checkpoint_ = std::move(checkpoint); }
    // After ReadRest: the file's structure is damaged or not whole, and nothing was read.
    // What ReadFirst made is to go, for what the whole read of the image (TakeImage) gives.
    bool Refused() const noexcept { return refused_; }
    // Records read by ReadRest so far.
    size_t RestRecords() const noexcept { return restRecords_; }
    // Window thread, after ReadRest: attaches what it read below the root's categories and
    // tells what the whole read comes to (Loaded or Partial; Damaged, attaching nothing, when
    // Refused). The root's top-level nodes must be the ones ReadFirst made (their serial
    // numbers find them).
    LoadOutcome Attach(oVoiceBook& root);

    // Any thread, after ReadRest: every byte of the image in order, in pieces (for a hash);
    // a mapped file's pieces are read apart from the mapping, into one buffer of at most
    // `pagesKept`. False when a mapped file could not be read again (the pieces handed out
    // were not all).
    bool VisitImage(const std::function<void(const uint8_t*, size_t)>& piece);
    // The image as bytes of the caller's own; the read is over.
    std::vector<uint8_t> TakeImage();
    // A copy of the image, to keep a file not read whole; empty when a mapped file could not
    // be seen again.
    std::vector<uint8_t> CopyImage();

private:
    // Which entries of a list are read: `count` from `from` on. Only the part that starts
    // the list counts the list as opened, and only the one that reaches its end judges it.
    struct Span {
        size_t from = 0;
        size_t count = SIZE_MAX;
    };
    // The subtree below the list stored in `storage`'s "ChildInfo.INF", as plain values: the
    // children in `span`, each with everything below it. True when the list goes on past the
    // span.
    bool ReadFlat(uint32_t storage, int depth, Span span, FlatSubtree& out,
                  std::vector<uint8_t>& scratch);
    // The entries of `storage`'s list in `span`; false when there is none, it holds none there
    // or the read was stopped. Counts what it opened.
    bool ReadList(uint32_t storage, std::vector<uint8_t>& scratch, std::vector<FlatNode>& out,
                  Span span, bool* more = nullptr);
    // The storage `storage` below a category's child is entered for the first time.
    bool FirstVisit(uint32_t storage);
    // One more record read; true when the read is to stop here (ReadRest's flag was set).
    bool StopAfterRecord();
    // The children in `span` of the top-level category at `position`, with their subtrees;
    // true when it has more after them.
    bool ReadTop(size_t position, Span span, FlatSubtree& out, std::vector<uint8_t>& scratch);

    const uint8_t* Data() const noexcept { return mapped_.data() ? mapped_.data() : image_.data(); }
    size_t Size() const noexcept { return mapped_.data() ? mapped_.size() : image_.size(); }
    // A mapped file: gives back the pages read so far once there are many, and opens the
    // image again where the new view lies. False when it could not.
    bool GiveBackPages();

    // A mapped file: its FAT read into fatCopy_ apart from the mapping. False when it could
    // not be read (the check then looks at the mapping).
    // The first step copies only a spread FAT: one in one run (our files) is looked at where
    // it lies, and its pages go with the others the first step touched.
    bool CopyFat();
    bool fatSpread_ = false;
    const uint8_t* FatCopy() const noexcept { return fatCopy_.empty() ? nullptr : fatCopy_.data(); }

    std::vector<uint8_t> image_;
    MappedFile mapped_;
    std::vector<uint8_t> fatCopy_; // empty: the FAT is read where it lies
    size_t pagesKept_ = 0;
    size_t touched_ = 0;  // bytes of the mapping read since its pages were last given back
    bool lost_ = false;   // the mapping could not be made again after the first step
    bool reopen_ = false; // the image is to be opened on the mapping's new view
    bool singleByte_;
    RecordLayout layout_ = RecordLayout::Long;
    CompoundImage file_;
    CompoundFileSurvey survey_;
    bool whole_ = true;          // nothing damaged or left out so far
    bool refused_ = false;       // ReadRest found the structure damaged or not whole
    size_t entries_ = 0;         // the streams and sub-storages opened
    std::vector<uint64_t> tops_; // serial numbers of the top-level nodes, by position
    std::vector<bool> visited_;  // storages below the categories entered so far, by entry
    size_t first_ = 0;           // the position read by ReadFirst
    size_t firstRead_ = 0;       // how many of its children it read
    bool firstWhole_ = true;     // and they were all
    std::vector<FlatSubtree> rest_;
    bool finished_ = false;                   // ReadRest went through every category
    const std::atomic<bool>* stop_ = nullptr; // while ReadRest runs
    bool stopped_ = false;                    // ReadRest stopped inside a category
    size_t restRecords_ = 0;
    Checkpoint checkpoint_;
};

// Builds the nodes of `subtree` below `category` (window thread).
void AttachFlat(oVoiceBook& category, FlatSubtree& subtree);

} // namespace model
