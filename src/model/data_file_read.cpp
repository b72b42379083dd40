// Reading the tree: the file is read in one go and opened with the system's structured
// storage from memory; every byte that comes out of it is checked before it is used.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "framework/text.h"
#include "model/child_list.h"
#include "model/compound_file_check.h"
#include "model/compound_image.h"
#include "model/data_file.h"
#include "model/file_replace.h"
#include "model/memory_lock_bytes.h"

namespace model {
namespace {

constexpr DWORD kReadMode = STGM_READ | STGM_SHARE_EXCLUSIVE;
constexpr ULONG kReadChunk = 64 * 1024;

fw::ComPtr<IStream> OpenStream(IStorage* storage, const wchar_t* name) {
    fw::ComPtr<IStream> stream;
    if (FAILED(storage->OpenStream(name, nullptr, kReadMode, 0, stream.put())))
        stream.reset();
    return stream;
}

// Reads up to `size` bytes; fewer when the stream ends or fails first. Reading never goes
// on after a short read.
size_t ReadSome(IStream* stream, uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        ULONG got = 0;
        const ULONG want = static_cast<ULONG>(std::min<size_t>(size - done, kReadChunk));
        const HRESULT hr = stream->Read(data + done, want, &got);
        done += std::min(got, want); // what came before a failure is good
        if (FAILED(hr) || got < want)
            break;
    }
    return done;
}

// The whole stream as far as it reads; `whole` tells whether that is all its size promises.
// A stream cannot hold more than the file it is in, so `limit` (the file's size) bounds what
// a damaged size field can make us allocate.
bool ReadAll(IStream* stream, size_t limit, std::vector<uint8_t>& out, bool& whole) {
    out.clear();
    whole = false;
    try {
        for (;;) {
            const size_t start = out.size();
            if (start >= limit)
                break;
            out.resize(start + std::min<size_t>(kReadChunk, limit - start));
            const size_t want = out.size() - start;
            const size_t got = ReadSome(stream, out.data() + start, want);
            out.resize(start + got);
            // Nothing after a short read or a failure is trusted: the bytes after a sector
            // that could not be read belong elsewhere in the stream.
            if (got < want)
                break;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    STATSTG stat{};
    whole = SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart == out.size();
    return true;
}

// Only the two streams a childless root leaves behind.
bool HoldsOnlyHeaderAndNode(IStorage* storage) {
    fw::ComPtr<IEnumSTATSTG> items;
    if (FAILED(storage->EnumElements(0, nullptr, 0, items.put())))
        return false;
    STATSTG stat{};
    int count = 0;
    bool expected = true;
    while (items->Next(1, &stat, nullptr) == S_OK) {
        ++count;
        if (!stat.pwcsName ||
            (!fw::EqualsNoCase(stat.pwcsName, L"Header.INF") &&
             !fw::EqualsNoCase(stat.pwcsName, L"Node.INF")) ||
            stat.type != STGTY_STREAM)
            expected = false;
        ::CoTaskMemFree(stat.pwcsName);
        stat = STATSTG{};
        if (count > 2)
            return false;
    }
    return expected && count == 2;
}

// The system's storage code on the image: any file that passed the structural check.
class StorageSource {
public:
    using Storage = fw::ComPtr<IStorage>;
    enum class Opened { Yes, Missing, Failed };

    explicit StorageSource(size_t limit) : limit_(limit) {}

    // The storage's child list; false when there is none or it could not be read. `whole`
    // when it was read as far as its size promises.
    bool List(const Storage& storage, const uint8_t*& data, size_t& size, bool& whole) {
        fw::ComPtr<IStream> stream = OpenStream(storage.get(), L"ChildInfo.INF");
        if (!stream || !ReadAll(stream.get(), limit_, buffer_, whole))
            return false;
        data = buffer_.data();
        size = buffer_.size();
        return true;
    }
    Opened Open(const Storage& parent, const std::wstring& name, Storage& out) {
        const HRESULT opened =
            parent->OpenStorage(name.c_str(), nullptr, kReadMode, nullptr, 0, out.put());
        if (SUCCEEDED(opened))
            return Opened::Yes;
        return opened == STG_E_FILENOTFOUND ? Opened::Missing : Opened::Failed;
    }

private:
    size_t limit_;
    std::vector<uint8_t> buffer_;
};

// The image itself, for a file the survey found whole: the lists are decoded where they lie.
class ImageSource {
public:
    using Storage = uint32_t;
    using Opened = StorageSource::Opened;

    explicit ImageSource(const CompoundImage& image) : image_(image) {}

    bool List(Storage storage, const uint8_t*& data, size_t& size, bool& whole) {
        whole = true;
        const uint32_t list = image_.Find(storage, L"ChildInfo.INF");
        return list != CompoundImage::kNone && image_.Read(list, scratch_, data, size);
    }
    // An entry of that name that is no storage is not opened, as by the storage code.
    Opened Open(Storage parent, const std::wstring& name, Storage& out) const {
        out = image_.Find(parent, name);
        return out != CompoundImage::kNone && image_.IsStorage(out) ? Opened::Yes : Opened::Missing;
    }

private:
    const CompoundImage& image_;
    std::vector<uint8_t> scratch_;
};

template <class Source> class TreeReader {
public:
    using Storage = typename Source::Storage;

    TreeReader(RecordLayout layout, Source& source) : layout_(layout), source_(source) {}

    // False as soon as anything was damaged or left out.
    bool whole() const noexcept { return whole_; }
    // The streams and sub-storages that were opened.
    size_t entries() const noexcept { return entries_; }
    void CountOpened() noexcept { ++entries_; }

    // Appends the entries of the storage's child list to `parent`; false when there is no
    // list or not one entry of it could be read. A list is only ever written with entries,
    // so one that holds none, or ends short or badly, leaves the file less than whole.
    bool ReadChildList(const Storage& storage, oVoiceBook& parent) {
        const uint8_t* data = nullptr;
        size_t size = 0;
        bool readWhole = false;
        if (!source_.List(storage, data, size, readWhole)) {
            whole_ = false;
            return false;
        }
        ++entries_;
        // Each entry becomes its node at once: its texts are made in their blocks straight
        // from the record, its identifier list copied once.
        const ChildListScan list = ScanChildList(
            data, size, layout_, [&](const uint8_t* record, size_t idOffset, size_t idSize) {
                auto node = std::make_unique<oVoiceBook>();
                DecodeRecordInto(record, layout_, *node);
                if (idSize) {
                    if (void* id = ::CoTaskMemAlloc(idSize)) {
                        std::memcpy(id, data + idOffset, idSize);
                        node->SetPidl(fw::Pidl(static_cast<LPITEMIDLIST>(id)));
                    }
                }
                parent.AppendChild(node.release());
                return true;
            });
        if (!readWhole || list.end != ChildListEnd::Complete || list.refusedIdLists > 0 ||
            list.unterminatedRecords > 0 || list.entries == 0)
            whole_ = false;
        return list.entries > 0;
    }

    // The child lists below the root, in the sub-storages named from depth and position;
    // false when not one entry of the root's own list could be read. A damaged list further
    // down costs that list's subtree only. Iterative, so a deep file cannot exhaust the
    // stack.
    bool ReadSubtree(const Storage& rootStorage, oVoiceBook& root) {
        struct Frame {
            Storage storage;
            oVoiceBook* next;
            int position;
            int depth; // of the children
        };
        if (!ReadChildList(rootStorage, root))
            return false;
        std::vector<Frame> stack;
        stack.push_back(Frame{rootStorage, root.FirstChild(), 0, 1});
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (!top.next) {
                stack.pop_back();
                continue;
            }
            oVoiceBook* child = top.next;
            const int position = top.position++;
            top.next = child->Next();
            Storage sub{};
            const auto opened = source_.Open(top.storage, StorageName(top.depth, position), sub);
            // Not found, it has no children of its own; an entry of that name that is no
            // storage (its type damaged) leaves an entry the reader never opens, which the
            // count of entries shows.
            if (opened != Source::Opened::Yes) {
                if (opened == Source::Opened::Failed)
                    whole_ = false; // there, but it could not be opened
                continue;
            }
            ++entries_;
            if (!ReadChildList(sub, *child))
                continue;
            const int depth = top.depth + 1;
            stack.push_back(Frame{std::move(sub), child->FirstChild(), 0, depth});
        }
        return true;
    }

private:
    RecordLayout layout_;
    Source& source_;
    bool whole_ = true;
    size_t entries_ = 0;
};

bool HasCategory(const oVoiceBook& parent) {
    for (const oVoiceBook* child = parent.FirstChild(); child; child = child->Next())
        if (child->IsCategory())
            return true;
    return false;
}

} // namespace

namespace {

// The child lists below the root, and what the reading comes to.
template <class Source>
LoadOutcome ReadTree(oVoiceBook& root, Source& source, const typename Source::Storage& storage,
                     RecordLayout layout, bool rootWhole, const CompoundFileSurvey& survey) {
    TreeReader<Source> reader(layout, source);
    reader.CountOpened(); // Header.INF
    reader.CountOpened(); // Node.INF
    // Without the top level there is no tree to show: the file is as good as unreadable.
    if (!reader.ReadSubtree(storage, root))
        return LoadOutcome::Damaged;
    // Every entry in the file is one the reader opened; any other was cut off from the tree.
    const bool whole =
        rootWhole && reader.whole() && survey.whole && reader.entries() == survey.entries;
    if (whole)
        return LoadOutcome::Loaded;
    // Damage that leaves not one category (a top-level list lost, or read from another
    // list's sectors) gives the bar nothing to show: the file counts as unreadable.
    if (!HasCategory(root)) {
        root.DeleteChildren();
        return LoadOutcome::Damaged;
    }
    return LoadOutcome::Partial;
}

LoadOutcome ReadStorage(oVoiceBook& root, MemoryLockBytes* bytes, size_t limit,
                        const CompoundFileSurvey& survey, bool singleByte) {
    if (::StgIsStorageILockBytes(bytes) != S_OK)
        return LoadOutcome::Damaged;
    fw::ComPtr<IStorage> storage;
    if (FAILED(::StgOpenStorageOnILockBytes(bytes, nullptr, kReadMode, nullptr, 0, storage.put())))
        return LoadOutcome::Damaged;

    const size_t headerSize = singleByte ? kAnsiHeaderSize : kHeaderSize;
    std::vector<uint8_t> header(headerSize, 0);
    fw::ComPtr<IStream> stream = OpenStream(storage.get(), L"Header.INF");
    if (!stream)
        return LoadOutcome::Damaged;
    const size_t headerRead = ReadSome(stream.get(), header.data(), header.size());
    const std::optional<int32_t> version = singleByte ? DecodeAnsiHeader(header.data(), headerRead)
                                                      : DecodeHeader(header.data(), headerRead);
    if (!version)
        return LoadOutcome::Damaged;

    const RecordLayout nodeLayout = singleByte ? RecordLayout::AnsiShort : RecordLayout::Short;
    std::vector<uint8_t> record = InitialRecord(nodeLayout);
    stream = OpenStream(storage.get(), L"Node.INF");
    if (!stream)
        return LoadOutcome::Damaged;
    ReadSome(stream.get(), record.data(), record.size()); // a short root record keeps defaults
    stream.reset();
    const bool rootWhole = RecordStringsTerminated(record.data(), nodeLayout);

    // The root object stays; its content and children are replaced. Its identifier list
    // and pictures are not in the file and stay as they are.
    root.DeleteChildren();
    root.oTreeNode::Clear();
    root.SetFromRecord(DecodeRecord(record.data(), nodeLayout));

    if (!OpenStream(storage.get(), L"ChildInfo.INF"))
        return HoldsOnlyHeaderAndNode(storage.get()) ? LoadOutcome::EmptyTree
                                                     : LoadOutcome::Damaged;
    StorageSource source(limit);
    return ReadTree(root, source, storage, ChildLayout(singleByte, *version), rootWhole, survey);
}

// The header's version, and the root's record decoded in place (the content of `root`
// replaced, its children gone); `rootWhole` when its strings end inside their fields.
bool ReadRootRecord(oVoiceBook& root, const uint8_t* header, size_t headerSize, const uint8_t* node,
                    size_t nodeSize, bool singleByte, int32_t& version, bool& rootWhole) {
    const std::optional<int32_t> found =
        singleByte ? DecodeAnsiHeader(header, headerSize) : DecodeHeader(header, headerSize);
    if (!found)
        return false;
    version = *found;
    const RecordLayout nodeLayout = singleByte ? RecordLayout::AnsiShort : RecordLayout::Short;
    std::vector<uint8_t> record = InitialRecord(nodeLayout);
    std::memcpy(record.data(), node, std::min(nodeSize, record.size())); // short: defaults
    rootWhole = RecordStringsTerminated(record.data(), nodeLayout);
    root.DeleteChildren();
    root.oTreeNode::Clear();
    root.SetFromRecord(DecodeRecord(record.data(), nodeLayout));
    return true;
}

// A file the survey found whole, read from its bytes without the storage code.
LoadOutcome ReadWholeImage(oVoiceBook& root, const CompoundImage& file,
                           const CompoundFileSurvey& survey, bool singleByte) {
    std::vector<uint8_t> headerCopy, nodeCopy;
    const uint8_t *header = nullptr, *node = nullptr;
    size_t headerSize = 0, nodeSize = 0;
    if (!file.ReadNamed(CompoundImage::kRoot, L"Header.INF", headerCopy, header, headerSize) ||
        !file.ReadNamed(CompoundImage::kRoot, L"Node.INF", nodeCopy, node, nodeSize))
        return LoadOutcome::Damaged;
    int32_t version = 0;
    bool rootWhole = false;
    if (!ReadRootRecord(root, header, headerSize, node, nodeSize, singleByte, version, rootWhole))
        return LoadOutcome::Damaged;
    const uint32_t list = file.Find(CompoundImage::kRoot, L"ChildInfo.INF");
    if (list == CompoundImage::kNone || !file.IsStream(list))
        return file.HoldsExactlyStreams(CompoundImage::kRoot, {L"Header.INF", L"Node.INF"})
                   ? LoadOutcome::EmptyTree
                   : LoadOutcome::Damaged;
    ImageSource source(file);
    return ReadTree(root, source, CompoundImage::kRoot, ChildLayout(singleByte, version), rootWhole,
                    survey);
}

// The storage code only reads the image: it is handed back afterwards rather than copied
// beforehand, which for a large file costs as much as reading it.
LoadOutcome ReadImageAndKeep(oVoiceBook& root, std::vector<uint8_t>& image, bool singleByte) {
    const size_t limit = image.size();
    const CompoundFileSurvey survey = SurveyCompoundFile(image.data(), image.size());
    if (!survey.sound)
        return LoadOutcome::Damaged;
    // A whole file is decoded where it lies; a damaged one is left to the storage code,
    // whose way of reading as far as the damage allows the tests pin down.
    CompoundImage file;
    if (survey.whole && file.Open(image.data(), image.size()))
        return ReadWholeImage(root, file, survey, singleByte);
    fw::ComPtr<MemoryLockBytes> bytes = MemoryLockBytes::Create(std::move(image), true);
    if (!bytes)
        return LoadOutcome::Damaged;
    const LoadOutcome outcome = ReadStorage(root, bytes.get(), limit, survey, singleByte);
    image = bytes->TakeBytes();
    return outcome;
}

} // namespace

LoadOutcome ReadDataFileImage(oVoiceBook& root, std::vector<uint8_t> image, bool singleByte) {
    return ReadImageAndKeep(root, image, singleByte);
}

LoadOutcome ReadDataFileBytes(oVoiceBook& root, std::vector<uint8_t>& image, bool singleByte) {
    return ReadImageAndKeep(root, image, singleByte);
}

LoadOutcome ReadDataFile(oVoiceBook& root, const std::wstring& path, bool singleByte,
                         std::vector<uint8_t>* bytes) {
    std::vector<uint8_t> image;
    switch (ReadWholeFile(path, image)) {
    case ReadResult::Missing:
        return LoadOutcome::Missing;
    case ReadResult::InUse:
        return LoadOutcome::InUse;
    case ReadResult::Failed:
        return LoadOutcome::Damaged;
    case ReadResult::Ok:
        break;
    }
    const LoadOutcome outcome = ReadImageAndKeep(root, image, singleByte);
    if (bytes)
        *bytes = std::move(image);
    return outcome;
}

} // namespace model

bool oVoiceBook::LoadFile(const std::wstring& path) {
    return model::ReadDataFile(*this, path, false) == model::LoadOutcome::Loaded;
}

bool oVoiceBook::LoadAnsiFile(const std::wstring& path) {
    return model::ReadDataFile(*this, path, true) == model::LoadOutcome::Loaded;
}
