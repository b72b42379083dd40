#include "framework/resource_checks.h"

#include <algorithm>
#include <cstring>

namespace fw {
namespace {

// Reads a resource front to back; any read past its end fails the whole reading.
class Reader {
public:
    explicit Reader(ResourceBytes bytes) noexcept : bytes_(bytes), ok_(bytes.data != nullptr) {}
    bool Ok() const noexcept { return ok_; }
    size_t Offset() const noexcept { return at_; }

    template <class T> T Read() noexcept {
        T value{};
        if (Has(sizeof(T)))
            std::memcpy(&value, bytes_.data + at_, sizeof(T));
        Skip(sizeof(T));
        return value;
    }
    void Skip(size_t n) noexcept {
        if (Has(n))
            at_ += n;
        else
            ok_ = false;
    }
    // A zero-terminated UTF-16 string.
    void SkipString() noexcept {
        while (ok_ && Read<uint16_t>() != 0) {
        }
    }
    // A number (0xFFFF and a word) or a string.
    void SkipNameOrNumber() noexcept {
        if (Has(2) && bytes_.data[at_] == 0xFF && bytes_.data[at_ + 1] == 0xFF)
            Skip(4);
        else
            SkipString();
    }
    void AlignToDword() noexcept { Skip((4 - at_ % 4) % 4); }

private:
    bool Has(size_t n) const noexcept { return ok_ && bytes_.size - at_ >= n; }

    ResourceBytes bytes_;
    size_t at_ = 0;
    bool ok_;
};

// Every page from `data` to `data + size` is committed, readable and part of the module
// mapped at `base`.
bool InsideModule(const uint8_t* data, size_t size, const void* base) {
    const uint8_t* at = data;
    const uint8_t* end = data + size;
    do {
        MEMORY_BASIC_INFORMATION region{};
        if (!::VirtualQuery(at, &region, sizeof(region)) || region.State != MEM_COMMIT ||
            region.AllocationBase != base || (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
            return false;
        at = static_cast<const uint8_t*>(region.BaseAddress) + region.RegionSize;
    } while (at < end);
    return true;
}

// The items of a menu after its header, each level ended by an item marked as its last.
// A popup marked last ends its own level once its items end.
template <class ReadItem>
std::optional<std::vector<uint32_t>> MenuItems(Reader& r, ReadItem readItem) {
    std::vector<uint32_t> ids;
    std::vector<bool> lastOfLevel; // one per popup whose items are being read
    for (;;) {
        bool popup = false, last = false;
        readItem(popup, last, ids);
        if (!r.Ok())
            return std::nullopt;
        if (popup) {
            lastOfLevel.push_back(last);
            continue;
        }
        // The end of a level may end the levels above it too.
        while (last) {
            if (lastOfLevel.empty())
                return ids;
            last = lastOfLevel.back();
            lastOfLevel.pop_back();
        }
    }
}

} // namespace

ResourceBytes FindResourceBytes(HMODULE module, const wchar_t* type, const wchar_t* name) {
    HRSRC info = ::FindResourceW(module, name, type);
    HGLOBAL loaded = info ? ::LoadResource(module, info) : nullptr;
    const auto* data = static_cast<const uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!data)
        return {};
    const DWORD size = ::SizeofResource(module, info);
    // A module mapped as resource data only has its low bits set in its handle.
    const auto base = reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(module) &
                                                    ~static_cast<uintptr_t>(3));
    if (!InsideModule(data, size, base))
        return {};
    return {data, size};
}

std::optional<std::wstring_view> StringFromBlock(ResourceBytes block, unsigned index) {
    if (index > 15)
        return std::nullopt;
    Reader r(block);
    for (unsigned i = 0; i < index; ++i)
        r.Skip(r.Read<uint16_t>() * sizeof(wchar_t));
    const uint16_t length = r.Read<uint16_t>();
    const size_t at = r.Offset();
    r.Skip(length * sizeof(wchar_t));
    if (!r.Ok())
        return std::nullopt;
    return std::wstring_view(reinterpret_cast<const wchar_t*>(block.data + at), length);
}

std::optional<std::vector<uint32_t>> DialogControlIds(ResourceBytes dialog) {
    Reader r(dialog);
    const auto first = r.Read<uint16_t>();
    const auto second = r.Read<uint16_t>();
    const bool extended = first == 1 && second == 0xFFFF;
    uint32_t style = first | (static_cast<uint32_t>(second) << 16);
    if (extended) {
        r.Skip(8); // help id, extended style
        style = r.Read<uint32_t>();
    } else {
        r.Skip(4); // extended style
    }
    const auto count = r.Read<uint16_t>();
    r.Skip(8);            // position and size
    r.SkipNameOrNumber(); // menu
    r.SkipNameOrNumber(); // window class
    r.SkipString();       // caption
    if (style & DS_SETFONT) {
        r.Skip(extended ? 6 : 2); // point size (and weight, italic, character set)
        r.SkipString();
    }
    std::vector<uint32_t> ids;
    for (uint16_t i = 0; i < count && r.Ok(); ++i) {
        r.AlignToDword();
        uint32_t id = 0;
        if (extended) {
            r.Skip(20); // help id, extended style, style, position and size
            id = r.Read<uint32_t>();
        } else {
            r.Skip(16); // style, extended style, position and size
            id = r.Read<uint16_t>();
            if (id == 0xFFFF)
                id = 0xFFFFFFFF;
        }
        r.SkipNameOrNumber();       // window class
        r.SkipNameOrNumber();       // text
        r.Skip(r.Read<uint16_t>()); // creation data
        if (id != 0xFFFFFFFF)
            ids.push_back(id);
    }
    if (!r.Ok())
        return std::nullopt;
    return ids;
}

std::optional<std::vector<uint32_t>> MenuCommandIds(ResourceBytes menu) {
    Reader r(menu);
    const auto version = r.Read<uint16_t>();
    r.Skip(r.Read<uint16_t>()); // from the header's end to the first item
    if (!r.Ok() || version > 1)
        return std::nullopt;
    if (version == 0) {
        return MenuItems(r, [&r](bool& popup, bool& last, std::vector<uint32_t>& ids) {
            const auto flags = r.Read<uint16_t>();
            popup = (flags & MF_POPUP) != 0;
            last = (flags & MF_END) != 0;
            if (!popup) {
                if (const auto id = r.Read<uint16_t>())
                    ids.push_back(id);
            }
            r.SkipString();
        });
    }
    return MenuItems(r, [&r](bool& popup, bool& last, std::vector<uint32_t>& ids) {
        r.AlignToDword();
        r.Skip(8); // type, state
        const auto id = r.Read<uint32_t>();
        const auto flags = r.Read<uint16_t>();
        r.SkipString();
        popup = (flags & 0x01) != 0;
        last = (flags & 0x80) != 0;
        if (popup) {
            r.AlignToDword();
            r.Skip(4); // help id
        } else if (id != 0) {
            ids.push_back(id);
        }
    });
}

bool HoldsAll(const std::vector<uint32_t>& offered, const std::vector<uint32_t>& needed) {
    return std::all_of(needed.begin(), needed.end(), [&offered](uint32_t id) {
        return std::find(offered.begin(), offered.end(), id) != offered.end();
    });
}

std::vector<std::wstring> PrintfConversions(std::wstring_view pattern) {
    constexpr std::wstring_view kConversionLetters = L"diouxXeEfFgGaAcCsSpnZ";
    std::vector<std::wstring> conversions;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'%')
            continue;
        if (i + 1 < pattern.size() && pattern[i + 1] == L'%') {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < pattern.size() &&
               kConversionLetters.find(pattern[end]) == std::wstring_view::npos)
            ++end;
        conversions.emplace_back(pattern.substr(i, end + 1 - i));
        i = end;
    }
    return conversions;
}

} // namespace fw
