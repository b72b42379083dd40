// Writing the tree: the system's structured storage builds the compound file in memory, and
// the finished bytes replace the data file in one step.
#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <vector>

#include "model/child_list.h"
#include "model/data_file.h"
#include "model/fat_placement.h"
#include "model/data_path.h"
#include "model/file_replace.h"
#include "model/memory_lock_bytes.h"
#include "model/tree_snapshot.h"

namespace model {

const char kSavePathDescription[] =
    "a snapshot of the tree (flat blocks; the texts' unchanging blocks held, not copied) taken "
    "on the window thread; from it ole32 structured "
    "storage (direct mode) on an in-memory ILockBytes sized once, child lists streamed entry by "
    "entry; the image written with one WriteFile beside the data file, "
    "flushed and swapped in with MoveFileExW (snapshot to file by the writer thread for the "
    "countdown's saves)";

namespace {

constexpr DWORD kCreateMode = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

bool CreateSizedStream(IStorage* storage, const wchar_t* name, size_t size,
                       fw::ComPtr<IStream>& stream) {
    if (size > 0xFFFFFFFFu || FAILED(storage->CreateStream(name, kCreateMode, 0, 0, stream.put())))
        return false;
    // The whole chain of sectors at once, rather than one sector more with each write.
    ULARGE_INTEGER total{};
    total.QuadPart = size;
    return SUCCEEDED(stream->SetSize(total));
}

bool WriteBytes(IStream* stream, const uint8_t* data, size_t size) {
    ULONG written = 0;
    return SUCCEEDED(stream->Write(data, static_cast<ULONG>(size), &written)) && written == size;
}

bool WriteStream(IStorage* storage, const wchar_t* name, const std::vector<uint8_t>& bytes) {
    fw::ComPtr<IStream> stream;
    return CreateSizedStream(storage, name, bytes.size(), stream) &&
           WriteBytes(stream.get(), bytes.data(), bytes.size());
}

void PutCount(uint8_t* at, size_t size) {
    const auto count = static_cast<uint32_t>(size);
    at[0] = static_cast<uint8_t>(count);
    at[1] = static_cast<uint8_t>(count >> 8);
    at[2] = static_cast<uint8_t>(count >> 16);
    at[3] = static_cast<uint8_t>(count >> 24);
}

size_t EntrySize(const TreeSnapshot& tree, size_t node, RecordLayout layout) {
    return RecordSize(layout) + 4 + tree.IdListSize(node);
}

// Streamed entry by entry through one small buffer, which stays in the cache, instead of
// encoding the whole list into memory of its own first and copying it on.
bool WriteChildList(IStorage* storage, const TreeSnapshot& tree, size_t parent, RecordLayout layout,
                    std::vector<uint8_t>& entry) {
    size_t total = 0;
    for (size_t c = tree.FirstChild(parent); c < tree.Size(); c = tree.Next(c, parent))
        total += EntrySize(tree, c, layout);
    fw::ComPtr<IStream> stream;
    if (!CreateSizedStream(storage, L"ChildInfo.INF", total, stream))
        return false;
    const size_t recordSize = RecordSize(layout);
    for (size_t c = tree.FirstChild(parent); c < tree.Size(); c = tree.Next(c, parent)) {
        const size_t size = EntrySize(tree, c, layout);
        if (entry.size() < size)
            entry.resize(size);
        EncodeRecord(tree.Record(c), layout, entry.data());
        PutCount(entry.data() + recordSize, tree.IdListSize(c));
        if (tree.IdListSize(c))
            std::memcpy(entry.data() + recordSize + 4, tree.IdList(c), tree.IdListSize(c));
        if (!WriteBytes(stream.get(), entry.data(), size))
            return false;
    }
    return true;
}

// Every node with children gets a "ChildInfo.INF" in the storage of its own: the root's is
// the file's, the others are sub-storages named from depth and position below their
// parent's. Iterative, so a deep tree cannot exhaust the stack.
bool WriteSubtree(IStorage* rootStorage, const TreeSnapshot& tree, RecordLayout layout) {
    struct Frame {
        fw::ComPtr<IStorage> storage;
        size_t parent;
        size_t next; // next child to look at
        int position;
        int depth; // of the children
    };
    std::vector<uint8_t> entry;
    if (!WriteChildList(rootStorage, tree, 0, layout, entry))
        return false;
    std::vector<Frame> stack;
    stack.push_back(Frame{fw::ComPtr<IStorage>(rootStorage), 0, tree.FirstChild(0), 0, 1});
    while (!stack.empty()) {
        Frame& top = stack.back();
        while (top.next < tree.Size() && !tree.HasChildren(top.next)) {
            top.next = tree.Next(top.next, top.parent);
            ++top.position;
        }
        if (top.next >= tree.Size()) {
            stack.pop_back();
            continue;
        }
        const size_t child = top.next;
        const int position = top.position++;
        top.next = tree.Next(child, top.parent);
        fw::ComPtr<IStorage> sub;
        if (FAILED(top.storage->CreateStorage(StorageName(top.depth, position).c_str(), kCreateMode,
                                              0, 0, sub.put())))
            return false; // a subtree that cannot be written fails the whole save
        if (!WriteChildList(sub.get(), tree, child, layout, entry))
            return false;
        const int depth = top.depth + 1;
        stack.push_back(Frame{std::move(sub), child, tree.FirstChild(child), 0, depth});
    }
    return true;
}

// The file's size, a little more rather than less so that the array is sized once: the
// streams, a sector's rounding for each, and the sector tables and directory.
size_t EstimatedSize(const TreeSnapshot& tree, RecordLayout layout) {
    size_t size = 4 * 4096 + tree.IdBytes() + tree.Size() * (RecordSize(layout) + 4 + 512);
    return size + size / 64;
}

} // namespace

bool BuildDataFileImage(const TreeSnapshot& tree, DataFileFormat format, std::vector<uint8_t>& out,
                        FatPlacement fat) {
    out.clear();
    fw::ComPtr<MemoryLockBytes> bytes = MemoryLockBytes::Create();
    const RecordLayout childLayout = ChildLayout(format.singleByte, format.version);
    if (tree.Size() == 0 || !bytes || !bytes->Reserve(EstimatedSize(tree, childLayout)))
        return false;
    {
        fw::ComPtr<IStorage> storage;
        if (FAILED(::StgCreateDocfileOnILockBytes(bytes.get(), kCreateMode, 0, storage.put())))
            return false;
        const RecordLayout nodeLayout =
            format.singleByte ? RecordLayout::AnsiShort : RecordLayout::Short;
        std::vector<uint8_t> record(RecordSize(nodeLayout));
        EncodeRecord(tree.Record(0), nodeLayout, record.data());
        if (!WriteStream(storage.get(), L"Header.INF",
                         format.singleByte ? EncodeAnsiHeader(format.version)
                                           : EncodeHeader(format.version)) ||
            !WriteStream(storage.get(), L"Node.INF", record))
            return false;
        if (tree.HasChildren(0) && !WriteSubtree(storage.get(), tree, childLayout))
            return false;
        if (FAILED(storage->Commit(STGC_DEFAULT)))
            return false;
    } // the last release completes the compound file
    out = bytes->TakeBytes();
    if (fat == FatPlacement::AtStart)
        MoveFatToStart(out); // as built it is a sound file too, only slower to open
    return true;
}

bool BuildDataFileImage(const oVoiceBook& root, DataFileFormat format, std::vector<uint8_t>& out,
                        FatPlacement fat) {
    TreeSnapshot tree;
    tree.Take(root);
    return BuildDataFileImage(tree, format, out, fat);
}

bool WriteDataFile(const oVoiceBook& root, const std::wstring& path, DataFileFormat format) {
    std::vector<uint8_t> image;
    if (!BuildDataFileImage(root, format, image))
        return false;
    return ReplaceFileAtomically(path, image.data(), image.size());
}

} // namespace model

bool oVoiceBook::SaveFile(const std::wstring& path) const {
    return model::WriteDataFile(*this, path, model::kSaveFormat);
}
