#include "model/staged_read.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "model/child_list.h"
#include "model/fat_placement.h"
#include "model/voice_book.h"

namespace model {
namespace {

bool IsCategoryKind(int32_t kind) noexcept {
    return (kind & 0xF0) == KIND_ITEM && !(kind & KIND_COMMAND);
}

void TakePidl(oVoiceBook& node, const uint8_t* id, size_t size) {
    if (!size)
        return;
    if (void* copy = ::CoTaskMemAlloc(size)) {
        std::memcpy(copy, id, size);
        node.SetPidl(fw::Pidl(static_cast<LPITEMIDLIST>(copy)));
    }
}

} // namespace

StagedTreeRead::StagedTreeRead(std::vector<uint8_t> image, bool singleByte)
    : image_(std::move(image)), singleByte_(singleByte) {}

StagedTreeRead::StagedTreeRead(MappedFile file, bool singleByte, size_t pagesKept)
    : mapped_(std::move(file)), pagesKept_(std::max<size_t>(pagesKept, 1)),
      singleByte_(singleByte) {}

bool StagedTreeRead::GiveBackPages() {
    if (!mapped_.data() || touched_ < pagesKept_)
        return true;
    touched_ = 0;
    // ReadRest found the file sound and whole, and nobody can write it while it is open:
    // the new view holds the same bytes, and opening them again cannot fail but for memory.
    return mapped_.Renew() && file_.Open(mapped_.data(), mapped_.size(), FatCopy());
}

bool StagedTreeRead::CopyFat() {
    // Only a header this reader takes names its FAT; the survey judges any other.
    const uint8_t* data = Data();
    if (Size() < 512 || !(data[30] == 9 || data[30] == 12) || data[31] != 0)
        return false;
    const size_t sector = size_t{1} << data[30];
    if (Size() < sector)
        return false;
    const size_t sectors = (Size() - sector) / sector;
    std::vector<uint32_t> where;
    if (!FatSectorNumbers(data, sector, sectors, where) || where.size() > sectors)
        return false;
    fatCopy_.assign(where.size() * sector, 0);
    // Sectors in a row are read at once; one beyond the end stays zeros, which the survey
    // never looks at (it counts such a FAT sector as missing).
    for (size_t i = 0; i < where.size();) {
        size_t run = 1;
        while (i + run < where.size() && where[i + run] == where[i] + run &&
               where[i + run] < sectors)
            ++run;
        if (where[i] < sectors && !mapped_.ReadAt((uint64_t{where[i]} + 1) * sector,
                                                  fatCopy_.data() + i * sector, run * sector)) {
            fatCopy_.clear();
            return false;
        }
        i += run;
    }
    return true;
}

bool StagedTreeRead::VisitImage(const std::function<void(const uint8_t*, size_t)>& piece) {
    if (!mapped_.data()) {
        piece(Data(), Size());
        return true;
    }
    // Read apart from the mapping into one small buffer: pages touched through the mapping
    // stay in the working set until it is renewed, and the kernel maps whole runs of the
    // page cache around each.
    std::vector<uint8_t> buffer(std::min(Size(), std::min(pagesKept_, size_t{256} << 10)));
    for (size_t at = 0; at < Size();) {
        const size_t size = std::min(Size() - at, buffer.size());
        if (!mapped_.ReadAt(at, buffer.data(), size))
            return false;
        piece(buffer.data(), size);
        at += size;
    }
    return true;
}

std::vector<uint8_t> StagedTreeRead::TakeImage() {
    if (!mapped_.data())
        return std::move(image_);
    std::vector<uint8_t> bytes = mapped_.Copy();
    mapped_.Close();
    return bytes;
}

std::vector<uint8_t> StagedTreeRead::CopyImage() {
    return mapped_.data() ? mapped_.Copy() : image_;
}

bool StagedTreeRead::StopAfterRecord() {
    if (!stop_ || ++restRecords_ % kStopCheckRecords != 0)
        return false;
    if (checkpoint_)
        checkpoint_(restRecords_, *stop_);
    stopped_ = stop_->load();
    return stopped_;
}

bool StagedTreeRead::ReadList(uint32_t storage, std::vector<uint8_t>& scratch,
                              std::vector<FlatNode>& out, Span span, bool* more) {
    out.clear();
    const uint8_t* data = nullptr;
    size_t size = 0;
    const uint32_t stream = file_.Find(storage, L"ChildInfo.INF");
    const uint64_t length = stream == CompoundImage::kNone ? 0 : file_.StreamSize(stream);
    // A span that ends early needs only the start of a long list: a list in pieces is then
    // gathered only that far, and further when its entries are longer than guessed.
    const size_t guess = RecordSize(layout_) + 4 + 64;
    size_t limit = span.count == SIZE_MAX || span.count >= length / guess
                       ? SIZE_MAX
                       : (span.from + span.count + 1) * guess;
    ChildListScan list;
    bool past = false;
    for (;;) {
        if (stream == CompoundImage::kNone || !file_.Read(stream, scratch, data, size, limit)) {
            whole_ = false;
            return false;
        }
        // The entries before the span are only walked over, and the walk ends after it.
        size_t index = 0;
        out.clear();
        // The identifier lists are copied out of bytes that the next read may overwrite.
        list = ScanChildList(
            data, size, layout_, [&](const uint8_t* record, size_t idOffset, size_t idSize) {
                const size_t at = index++;
                if (at < span.from)
                    return true;
                if (at - span.from >= span.count) {
                    past = true;
                    return false;
                }
                out.emplace_back();
                out.back().fields = DecodeRecord(record, layout_);
                if (idSize)
                    out.back().idList.assign(data + idOffset, data + idOffset + idSize);
                return !StopAfterRecord();
            });
        if (past || size == length)
            break;
        limit = limit > SIZE_MAX / 2 ? SIZE_MAX : limit * 2;
    }
    if (span.from == 0)
        ++entries_;
    touched_ += size;
    if (more)
        *more = past;
    if (past)
        return !out.empty();
    if (list.stopped)
        return false;
    // A list is only ever written with entries: one that holds none, or ends short or badly,
    // leaves the file less than whole.
    if (list.end != ChildListEnd::Complete || list.refusedIdLists > 0 ||
        list.unterminatedRecords > 0 || list.entries == 0)
        whole_ = false;
    return !out.empty();
}

bool StagedTreeRead::ReadFlat(uint32_t storage, int depth, Span span, FlatSubtree& out,
                              std::vector<uint8_t>& scratch) {
    struct Frame {
        uint32_t storage;
        std::vector<FlatNode> pending;
        size_t next;
        size_t base; // the list position of pending[0]
        int depth;   // of the children
    };
    std::vector<FlatNode> list;
    bool more = false;
    if (!ReadList(storage, scratch, list, span, &more))
        return more;
    out.children = static_cast<uint32_t>(list.size());
    std::vector<Frame> stack;
    stack.push_back(Frame{storage, std::move(list), 0, span.from, depth});
    // Iterative, as the whole read: a deep file cannot exhaust the stack.
    while (!stack.empty() && !stopped_) {
        Frame& top = stack.back();
        if (top.next == top.pending.size()) {
            stack.pop_back();
            continue;
        }
        const size_t position = top.next++;
        out.nodes.push_back(std::move(top.pending[position]));
        const size_t index = out.nodes.size() - 1;
        const int childDepth = top.depth;
        // Not there, or no storage (its type damaged, which the count of entries shows): no
        // children of its own.
        const uint32_t sub =
            file_.Find(top.storage, StorageName(childDepth, static_cast<int>(top.base + position)));
        if (sub == CompoundImage::kNone || !file_.IsStorage(sub))
            continue;
        ++entries_;
        if (!FirstVisit(sub))
            continue;
        if (!ReadList(sub, scratch, list, Span{}))
            continue;
        out.nodes[index].children = static_cast<uint32_t>(list.size());
        stack.push_back(Frame{sub, std::move(list), 0, 0, childDepth + 1});
    }
    return more;
}

bool StagedTreeRead::FirstVisit(uint32_t storage) {
    // Before the check (ReadFirst), storages whose links lead to one another could be read
    // over and over, each time as many more nodes: each is entered once, and a second way to
    // one leaves the file less than whole.
    if (storage >= visited_.size() || visited_[storage]) {
        whole_ = false;
        return false;
    }
    visited_[storage] = true;
    return true;
}

bool StagedTreeRead::ReadTop(size_t position, Span span, FlatSubtree& out,
                             std::vector<uint8_t>& scratch) {
    out.position = position;
    const uint32_t storage =
        file_.Find(CompoundImage::kRoot, StorageName(1, static_cast<int>(position)));
    if (storage == CompoundImage::kNone || !file_.IsStorage(storage))
        return false;
    if (span.from == 0)
        ++entries_;
    return ReadFlat(storage, 2, span, out, scratch);
}

bool StagedTreeRead::ReadFirst(oVoiceBook& root,
                               const std::function<oVoiceBook*(const oVoiceBook&)>& first,
                               size_t firstChildren) {
    // Copying a big FAT costs more than looking at it where it lies when it is in one run
    // (a fresh buffer's pages are slow to come by); the rest of the read makes the copy.
    fatSpread_ = !FatInOneRun(Data(), Size());
    if (mapped_.data() && fatSpread_)
        CopyFat();
    // The structure is checked by ReadRest, not here: over a big file the check costs more than
    // the rest of this step. Every read below is bounded by the file on its own, so a damaged
    // file shows at worst a wrong part, which the check then has replaced by the whole read.
    if (!file_.Open(Data(), Size(), FatCopy()))
        return false;
    visited_.assign(file_.EntryCount(), false);
    std::vector<uint8_t> headerCopy, nodeCopy, scratch;
    const uint8_t *header = nullptr, *node = nullptr;
    size_t headerSize = 0, nodeSize = 0;
    if (!file_.ReadNamed(CompoundImage::kRoot, L"Header.INF", headerCopy, header, headerSize) ||
        !file_.ReadNamed(CompoundImage::kRoot, L"Node.INF", nodeCopy, node, nodeSize))
        return false;
    const std::optional<int32_t> version =
        singleByte_ ? DecodeAnsiHeader(header, headerSize) : DecodeHeader(header, headerSize);
    if (!version)
        return false;
    layout_ = ChildLayout(singleByte_, *version);
    entries_ = 2; // Header.INF, Node.INF
    std::vector<FlatNode> list;
    // Without a category at the top the whole read decides what the file comes to.
    if (!ReadList(CompoundImage::kRoot, scratch, list, Span{}) ||
        std::none_of(list.begin(), list.end(),
                     [](const FlatNode& e) { return IsCategoryKind(e.fields.kind); }))
        return false;

    const RecordLayout nodeLayout = singleByte_ ? RecordLayout::AnsiShort : RecordLayout::Short;
    std::vector<uint8_t> record = InitialRecord(nodeLayout);
    std::memcpy(record.data(), node, std::min(nodeSize, record.size())); // short: defaults
    if (!RecordStringsTerminated(record.data(), nodeLayout))
        whole_ = false;
    // The root object stays; its content and children are replaced. Its identifier list
    // and pictures are not in the file and stay as they are.
    root.DeleteChildren();
    root.oTreeNode::Clear();
    root.SetFromRecord(DecodeRecord(record.data(), nodeLayout));
    for (FlatNode& entry : list) {
        auto* top = new oVoiceBook(std::move(entry.fields));
        TakePidl(*top, entry.idList.data(), entry.idList.size());
        root.AppendChild(top);
        tops_.push_back(top->m_nSerial);
    }
    oVoiceBook* chosen = first(root);
    first_ = 0;
    for (const oVoiceBook* c = root.FirstChild(); c && c != chosen; c = c->Next())
        ++first_;
    if (chosen && first_ < tops_.size()) {
        FlatSubtree subtree;
        firstWhole_ =
            !ReadTop(first_, Span{0, std::max<size_t>(firstChildren, 1)}, subtree, scratch);
        firstRead_ = subtree.children;
        AttachFlat(*chosen, subtree);
    }
    // The first paint needs nothing more of the file: the pages touched so far (the look at
    // the structure saw the directory, spread over the file) go before it. The image is
    // opened again on the new view by ReadRest; until then nothing looks at it.
    if (mapped_.data()) {
        touched_ = 0;
        reopen_ = true;
        lost_ = !mapped_.Renew();
    }
    return true;
}

void StagedTreeRead::ReadRest(const std::atomic<bool>& stop) {
    if (lost_)
        return; // unfinished: the file could not be seen again
    // The rest is read apart from the mapping, whose pages would stay in the working set
    // until the next renewal (the kernel maps whole runs of the page cache around each one
    // touched), and its chains are followed through a copy of the FAT.
    if (mapped_.data() && fatCopy_.empty())
        CopyFat();
    survey_ = SurveyCompoundFile(Data(), Size(), FatCopy());
    if (!survey_.sound || !survey_.whole) {
        refused_ = true;
        return;
    }
    if (std::exchange(reopen_, false)) {
        // The check looked at the directory, spread over the file: its pages go first.
        const auto readAt = [this](uint64_t at, void* out, size_t size) {
            return mapped_.ReadAt(at, out, size);
        };
        lost_ = !mapped_.Renew() || !file_.Open(mapped_.data(), mapped_.size(), FatCopy()) ||
                !file_.ReadThrough(readAt);
    }
    if (lost_)
        return;
    std::vector<uint8_t> scratch;
    stop_ = &stop;
    bool finished = true;
    for (size_t position = 0; position < tops_.size() && finished; ++position) {
        if (stop.load()) {
            finished = false;
            break;
        }
        // The chosen category's children after those ReadFirst read, when there are more.
        if (position == first_ && firstWhole_)
            continue;
        const Span span = position == first_ ? Span{firstRead_, SIZE_MAX} : Span{};
        rest_.emplace_back();
        ReadTop(position, span, rest_.back(), scratch);
        if (stopped_) {
            rest_.pop_back(); // a part of a category is never attached as the whole of it
            finished = false;
        } else if (!GiveBackPages()) {
            finished = false; // unfinished: what was read counts as a file read in part
        }
    }
    stop_ = nullptr;
    finished_ = finished;
}

LoadOutcome StagedTreeRead::Attach(oVoiceBook& root) {
    if (refused_)
        return LoadOutcome::Damaged; // the whole read decides what the file comes to
    for (FlatSubtree& subtree : rest_) {
        const uint64_t serial = tops_[subtree.position];
        for (oVoiceBook* top = root.FirstChild(); top; top = top->Next())
            if (top->m_nSerial == serial) {
                AttachFlat(*top, subtree);
                break;
            }
    }
    rest_.clear();
    // Every entry in the file is one the reading opened; any other was cut off from the tree.
    const bool whole = finished_ && whole_ && entries_ == survey_.entries;
    return whole ? LoadOutcome::Loaded : LoadOutcome::Partial;
}

void AttachFlat(oVoiceBook& category, FlatSubtree& subtree) {
    struct Open {
        oVoiceBook* node;
        uint32_t left; // children still to come
    };
    std::vector<Open> stack{{&category, subtree.children}};
    for (FlatNode& flat : subtree.nodes) {
        while (!stack.empty() && stack.back().left == 0)
            stack.pop_back();
        if (stack.empty())
            break;
        --stack.back().left;
        auto* node = new oVoiceBook(std::move(flat.fields));
        TakePidl(*node, flat.idList.data(), flat.idList.size());
        stack.back().node->AppendChild(node);
        if (flat.children)
            stack.push_back(Open{node, flat.children});
    }
    subtree.nodes.clear();
}

} // namespace model
