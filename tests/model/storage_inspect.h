#pragma once
// Looks into compound files through the system's storage API: what the save wrote, and
// changes to single streams for the tests that damage files.
#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/com.h"

namespace inspect {

struct Element {
    DWORD type = 0; // STGTY_STREAM or STGTY_STORAGE
    uint64_t size = 0;
};

// Every element of the file by its path ("01_0000/ChildInfo.INF"); empty when the file
// does not open.
inline void Collect(IStorage* storage, const std::wstring& prefix,
                    std::map<std::wstring, Element>& out) {
    fw::ComPtr<IEnumSTATSTG> items;
    if (FAILED(storage->EnumElements(0, nullptr, 0, items.put())))
        return;
    STATSTG stat{};
    while (items->Next(1, &stat, nullptr) == S_OK) {
        const std::wstring name = prefix + stat.pwcsName;
        out[name] = Element{stat.type, stat.cbSize.QuadPart};
        if (stat.type == STGTY_STORAGE) {
            fw::ComPtr<IStorage> sub;
            if (SUCCEEDED(storage->OpenStorage(stat.pwcsName, nullptr,
                                               STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                               sub.put())))
                Collect(sub.get(), name + L"/", out);
        }
        ::CoTaskMemFree(stat.pwcsName);
        stat = STATSTG{};
    }
}

inline std::map<std::wstring, Element> Elements(const std::wstring& path) {
    std::map<std::wstring, Element> out;
    fw::ComPtr<IStorage> storage;
    if (SUCCEEDED(::StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr,
                                   0, storage.put())))
        Collect(storage.get(), L"", out);
    return out;
}

// Splits "a/b/c" into its parts.
inline std::vector<std::wstring> Parts(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find(L'/', start);
        parts.push_back(path.substr(start, slash - start));
        if (slash == std::wstring::npos)
            return parts;
        start = slash + 1;
    }
}

// Runs `f(storage, streamName)` on the storage that holds the stream at `streamPath`,
// opened for writing; commits afterwards.
template <class F> bool WithParent(const std::wstring& file, const std::wstring& streamPath, F f) {
    const DWORD mode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
    fw::ComPtr<IStorage> root;
    if (FAILED(::StgOpenStorage(file.c_str(), nullptr, mode, nullptr, 0, root.put())))
        return false;
    std::vector<fw::ComPtr<IStorage>> chain{root};
    const auto parts = Parts(streamPath);
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        fw::ComPtr<IStorage> sub;
        if (FAILED(
                chain.back()->OpenStorage(parts[i].c_str(), nullptr, mode, nullptr, 0, sub.put())))
            return false;
        chain.push_back(sub);
    }
    const bool ok = f(chain.back().get(), parts.back());
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->Commit(STGC_DEFAULT);
    return ok;
}

inline std::vector<uint8_t> ReadStream(const std::wstring& file, const std::wstring& streamPath) {
    std::vector<uint8_t> out;
    fw::ComPtr<IStorage> root;
    if (FAILED(::StgOpenStorage(file.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                root.put())))
        return out;
    // Every storage on the way stays open: one released reverts those opened inside it.
    std::vector<fw::ComPtr<IStorage>> chain{root};
    const auto parts = Parts(streamPath);
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        fw::ComPtr<IStorage> sub;
        if (FAILED(chain.back()->OpenStorage(parts[i].c_str(), nullptr,
                                             STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                             sub.put())))
            return out;
        chain.push_back(sub);
    }
    fw::ComPtr<IStream> stream;
    if (FAILED(chain.back()->OpenStream(parts.back().c_str(), nullptr,
                                        STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put())))
        return out;
    uint8_t buffer[65536];
    for (;;) {
        ULONG got = 0;
        if (FAILED(stream->Read(buffer, sizeof(buffer), &got)) || got == 0)
            break;
        out.insert(out.end(), buffer, buffer + got);
    }
    return out;
}

// Replaces the stream's content (the stream is created when missing).
inline bool WriteStream(const std::wstring& file, const std::wstring& streamPath,
                        const std::vector<uint8_t>& bytes) {
    return WithParent(file, streamPath, [&](IStorage* parent, const std::wstring& name) {
        fw::ComPtr<IStream> stream;
        if (FAILED(parent->CreateStream(name.c_str(),
                                        STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                        stream.put())))
            return false;
        ULONG written = 0;
        return SUCCEEDED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));
    });
}

inline bool RemoveElement(const std::wstring& file, const std::wstring& elementPath) {
    return WithParent(file, elementPath, [&](IStorage* parent, const std::wstring& name) {
        return SUCCEEDED(parent->DestroyElement(name.c_str()));
    });
}

} // namespace inspect
