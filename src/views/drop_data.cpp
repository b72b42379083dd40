#include "views/drop_data.h"

#include <shlobj.h>

#include <cstring>

namespace views {
namespace {

std::wstring Widen(const char* text, size_t length, UINT codePage) {
    if (length == 0)
        return {};
    const int count =
        ::MultiByteToWideChar(codePage, 0, text, static_cast<int>(length), nullptr, 0);
    if (count <= 0)
        return {};
    std::wstring out(static_cast<size_t>(count), L'\0');
    ::MultiByteToWideChar(codePage, 0, text, static_cast<int>(length), out.data(), count);
    return out;
}

uint32_t ReadU32(const uint8_t* p) noexcept {
    uint32_t value;
    std::memcpy(&value, p, sizeof(value));
    return value;
}

} // namespace

std::vector<std::wstring> ParseFileList(const void* data, size_t size, UINT codePage) {
    std::vector<std::wstring> paths;
    if (!data || size < sizeof(DROPFILES))
        return paths;
    DROPFILES header;
    std::memcpy(&header, data, sizeof(header));
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t at = header.pFiles;
    if (at < sizeof(DROPFILES) || at >= size)
        return paths;
    if (header.fWide) {
        const size_t unit = sizeof(wchar_t);
        for (;;) {
            std::wstring path;
            bool ended = false;
            for (; at + unit <= size; at += unit) {
                wchar_t c;
                std::memcpy(&c, bytes + at, unit);
                if (c == L'\0') {
                    ended = true;
                    at += unit;
                    break;
                }
                path.push_back(c);
            }
            if (!ended || path.empty())
                break;
            if (path.size() > kDropPathMax)
                path.resize(kDropPathMax);
            paths.push_back(std::move(path));
        }
    } else {
        for (;;) {
            const void* end = std::memchr(bytes + at, 0, size - at);
            if (!end)
                break;
            const size_t length = static_cast<const uint8_t*>(end) - (bytes + at);
            if (length == 0)
                break;
            std::wstring path = Widen(reinterpret_cast<const char*>(bytes + at), length, codePage);
            if (path.size() > kDropPathMax)
                path.resize(kDropPathMax);
            if (!path.empty())
                paths.push_back(std::move(path));
            at += length + 1;
            if (at >= size)
                break;
        }
    }
    return paths;
}

size_t IdListLengthAt(const uint8_t* data, size_t size, size_t offset) noexcept {
    if (!data || offset >= size)
        return 0;
    size_t at = offset;
    for (;;) {
        if (size - at < sizeof(USHORT))
            return 0;
        USHORT cb;
        std::memcpy(&cb, data + at, sizeof(cb));
        if (cb == 0)
            return at + sizeof(USHORT) - offset;
        // An item smaller than its own size field would never move on.
        if (cb < sizeof(USHORT) || cb > size - at)
            return 0;
        at += cb;
    }
}

bool ParseShellItemArray(const void* data, size_t size, ShellItemArray& out) {
    out = ShellItemArray{};
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!bytes || size < sizeof(uint32_t))
        return false;
    const uint64_t count = ReadU32(bytes);
    const uint64_t table = (count + 2) * sizeof(uint32_t);
    if (table > size)
        return false;
    auto listAt = [&](size_t index) {
        const size_t offset = ReadU32(bytes + (index + 1) * sizeof(uint32_t));
        const size_t length = IdListLengthAt(bytes, size, offset);
        return length ? std::vector<uint8_t>(bytes + offset, bytes + offset + length)
                      : std::vector<uint8_t>{};
    };
    out.parent = listAt(0);
    if (out.parent.empty())
        return false;
    for (size_t i = 1; i <= count; ++i) {
        std::vector<uint8_t> item = listAt(i);
        if (!item.empty())
            out.items.push_back(std::move(item));
    }
    return true;
}

std::wstring ParseAddress(const void* data, size_t size, UINT codePage) {
    if (!data || size == 0)
        return {};
    const void* end = std::memchr(data, 0, size);
    if (!end)
        return {};
    const size_t length = static_cast<const char*>(end) - static_cast<const char*>(data);
    std::wstring text = Widen(static_cast<const char*>(data), length, codePage);
    if (text.size() > kDropPathMax)
        text.resize(kDropPathMax);
    return text;
}

} // namespace views
