// Writing the tree: the system's structured storage builds the compound file in memory, and
// the finished bytes replace the data file in one step.
#include <windows.h>
#include <objbase.h>

#include <vector>

#include "model/child_list.h"
#include "model/data_file.h"
#include "model/data_path.h"
#include "model/file_replace.h"
#include "model/memory_lock_bytes.h"

namespace model {

const char kSavePathDescription[] =
    "ole32 structured storage (direct mode) on an in-memory ILockBytes sized once, child lists "
    "streamed entry by entry; the image written with one WriteFile beside the data file, "
    "flushed and swapped in with MoveFileExW (by the writer thread for the countdown's saves)";

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

// Streamed entry by entry through one small buffer, which stays in the cache, instead of
// encoding the whole list into memory of its own first and copying it on.
bool WriteChildList(IStorage* storage, const oVoiceBook& parent, RecordLayout layout,
                    std::vector<uint8_t>& entry) {
    fw::ComPtr<IStream> stream;
    if (!CreateSizedStream(storage, L"ChildInfo.INF", ChildListSize(parent, layout), stream))
        return false;
    for (const oVoiceBook* child = parent.FirstChild(); child; child = child->Next()) {
        const size_t size = ChildEntrySize(*child, layout);
        if (entry.size() < size)
            entry.resize(size);
        EncodeChildEntry(*child, layout, entry.data());
        if (!WriteBytes(stream.get(), entry.data(), size))
            return false;
    }
    return true;
}

// Every node with children gets a "ChildInfo.INF" in the storage of its own: the root's is
// the file's, the others are sub-storages named from depth and position below their
// parent's. Iterative, so a deep tree cannot exhaust the stack.
bool WriteSubtree(IStorage* rootStorage, const oVoiceBook& root, RecordLayout layout) {
    struct Frame {
        fw::ComPtr<IStorage> storage;
        const oVoiceBook* next; // next child to look at
        int position;
        int depth; // of the children
    };
    std::vector<uint8_t> entry;
    if (!WriteChildList(rootStorage, root, layout, entry))
        return false;
    std::vector<Frame> stack;
    stack.push_back(Frame{fw::ComPtr<IStorage>(rootStorage), root.FirstChild(), 0, 1});
    while (!stack.empty()) {
        Frame& top = stack.back();
        while (top.next && !top.next->HasChildren()) {
            top.next = top.next->Next();
            ++top.position;
        }
        if (!top.next) {
            stack.pop_back();
            continue;
        }
        const oVoiceBook* child = top.next;
        const int position = top.position++;
        top.next = child->Next();
        fw::ComPtr<IStorage> sub;
        if (FAILED(top.storage->CreateStorage(StorageName(top.depth, position).c_str(), kCreateMode,
                                              0, 0, sub.put())))
            return false; // a subtree that cannot be written fails the whole save
        if (!WriteChildList(sub.get(), *child, layout, entry))
            return false;
        const int depth = top.depth + 1;
        stack.push_back(Frame{std::move(sub), child->FirstChild(), 0, depth});
    }
    return true;
}

// The file's size, a little more rather than less so that the array is sized once: the
// streams, a sector's rounding for each, and the sector tables and directory.
size_t EstimatedSize(const oVoiceBook& root, RecordLayout layout) {
    size_t size = 4 * 4096;
    const_cast<oVoiceBook&>(root).WalkDescendantsF([&](oTreeNode& node) {
        size += ChildEntrySize(static_cast<oVoiceBook&>(node), layout) + 512;
        return int{WALK_DESCEND};
    });
    return size + size / 64;
}

} // namespace

bool BuildDataFileImage(const oVoiceBook& root, DataFileFormat format, std::vector<uint8_t>& out) {
    out.clear();
    fw::ComPtr<MemoryLockBytes> bytes = MemoryLockBytes::Create();
    const RecordLayout childLayout = ChildLayout(format.singleByte, format.version);
    if (!bytes || !bytes->Reserve(EstimatedSize(root, childLayout)))
        return false;
    {
        fw::ComPtr<IStorage> storage;
        if (FAILED(::StgCreateDocfileOnILockBytes(bytes.get(), kCreateMode, 0, storage.put())))
            return false;
        const RecordLayout nodeLayout =
            format.singleByte ? RecordLayout::AnsiShort : RecordLayout::Short;
        std::vector<uint8_t> record;
        FillRecord(record, nodeLayout, root);
        if (!WriteStream(storage.get(), L"Header.INF",
                         format.singleByte ? EncodeAnsiHeader(format.version)
                                           : EncodeHeader(format.version)) ||
            !WriteStream(storage.get(), L"Node.INF", record))
            return false;
        if (root.HasChildren() && !WriteSubtree(storage.get(), root, childLayout))
            return false;
        if (FAILED(storage->Commit(STGC_DEFAULT)))
            return false;
    } // the last release completes the compound file
    out = bytes->TakeBytes();
    return true;
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
