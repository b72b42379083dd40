// Reading the tree: the file is read in one go and opened with the system's structured
// storage from memory; every byte that comes out of it is checked before it is used.
#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <vector>

#include "framework/text.h"
#include "model/child_list.h"
#include "model/compound_file_check.h"
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

class TreeReader {
public:
    TreeReader(RecordLayout layout, size_t limit) : layout_(layout), limit_(limit) {}

    // False as soon as anything was damaged or left out.
    bool whole() const noexcept { return whole_; }
    // The streams and sub-storages that were opened.
    size_t entries() const noexcept { return entries_; }
    void CountOpened() noexcept { ++entries_; }

    // Appends the entries of the storage's child list to `parent`; false when there is no
    // list or not one entry of it could be read. A list is only ever written with entries,
    // so one that holds none, or ends short or badly, leaves the file less than whole.
    bool ReadChildList(IStorage* storage, oVoiceBook& parent) {
        fw::ComPtr<IStream> stream = OpenStream(storage, L"ChildInfo.INF");
        bool readWhole = false;
        if (!stream || !ReadAll(stream.get(), limit_, buffer_, readWhole)) {
            whole_ = false;
            return false;
        }
        stream.reset();
        ++entries_;
        const ParsedChildList list = ParseChildList(buffer_.data(), buffer_.size(), layout_);
        if (!readWhole || list.end != ChildListEnd::Complete || list.refusedIdLists > 0 ||
            list.unterminatedRecords > 0 || list.entries.empty())
            whole_ = false;
        for (const ChildEntry& entry : list.entries) {
            auto* node = new oVoiceBook(entry.fields);
            if (entry.idListSize) {
                void* id = ::CoTaskMemAlloc(entry.idListSize);
                if (id) {
                    std::memcpy(id, buffer_.data() + entry.idListOffset, entry.idListSize);
                    node->SetPidl(fw::Pidl(static_cast<LPITEMIDLIST>(id)));
                }
            }
            parent.AppendChild(node);
        }
        return !list.entries.empty();
    }

    // The child lists below the root, in the sub-storages named from depth and position;
    // false when not one entry of the root's own list could be read. A damaged list further
    // down costs that list's subtree only. Iterative, so a deep file cannot exhaust the
    // stack.
    bool ReadSubtree(IStorage* rootStorage, oVoiceBook& root) {
        struct Frame {
            fw::ComPtr<IStorage> storage;
            oVoiceBook* next;
            int position;
            int depth; // of the children
        };
        if (!ReadChildList(rootStorage, root))
            return false;
        std::vector<Frame> stack;
        stack.push_back(Frame{fw::ComPtr<IStorage>(rootStorage), root.FirstChild(), 0, 1});
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (!top.next) {
                stack.pop_back();
                continue;
            }
            oVoiceBook* child = top.next;
            const int position = top.position++;
            top.next = child->Next();
            fw::ComPtr<IStorage> sub;
            const HRESULT opened =
                top.storage->OpenStorage(StorageName(top.depth, position).c_str(), nullptr,
                                         kReadMode, nullptr, 0, sub.put());
            // Not found, it has no children of its own; an entry of that name that is no
            // storage (its type damaged) leaves an entry the reader never opens, which the
            // count of entries shows.
            if (FAILED(opened)) {
                if (opened != STG_E_FILENOTFOUND)
                    whole_ = false; // there, but it could not be opened
                continue;
            }
            ++entries_;
            if (!ReadChildList(sub.get(), *child))
                continue;
            const int depth = top.depth + 1;
            stack.push_back(Frame{std::move(sub), child->FirstChild(), 0, depth});
        }
        return true;
    }

private:
    RecordLayout layout_;
    size_t limit_;
    std::vector<uint8_t> buffer_;
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
    TreeReader reader(ChildLayout(singleByte, *version), limit);
    reader.CountOpened(); // Header.INF
    reader.CountOpened(); // Node.INF
    // Without the top level there is no tree to show: the file is as good as unreadable.
    if (!reader.ReadSubtree(storage.get(), root))
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

// The storage code only reads the image: it is handed back afterwards rather than copied
// beforehand, which for a large file costs as much as reading it.
LoadOutcome ReadImageAndKeep(oVoiceBook& root, std::vector<uint8_t>& image, bool singleByte) {
    const size_t limit = image.size();
    const CompoundFileSurvey survey = SurveyCompoundFile(image.data(), image.size());
    if (!survey.sound)
        return LoadOutcome::Damaged;
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
