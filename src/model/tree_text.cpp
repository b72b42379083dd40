#include "model/tree_text.h"

#include <objbase.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "model/pidl.h"

namespace model {
namespace {

constexpr char kHeader[] =
    "; larkRunBar tree, written by Export... and read by Import... (UTF-8 text).\r\n"
    "; One section per category or button in tree order: [Root] is the tree itself, [Root_2]\r\n"
    "; its second entry, [Root_2_1] the first entry of that one. A section's parent comes\r\n"
    "; before it; among siblings the numbers rise (gaps are allowed) and the file's order is\r\n"
    "; the bar's order. Kind 0x12 is a category, 0x14 a button (Role 1: a separator).\r\n"
    "; Left out, an entry takes its default: empty text, 0, ShowCmd 1, DefaultImage -1.\r\n"
    "; A value is taken as written to the end of its line; one in double quotes may hold\r\n"
    "; \\\" \\\\ \\t \\r \\n and \\uXXXX. IdList is a shell item identifier list in hex.\r\n";
constexpr int kFormat = 1;

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void AppendHex(std::string& out, uint32_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.push_back(kDigits[(value >> shift) & 0xF]);
}

// Units that a plain value cannot carry: line breaks and other controls, and halves of
// surrogate pairs that UTF-8 cannot spell.
bool NeedsQuotes(const std::wstring& s) {
    if (s.empty())
        return false;
    const wchar_t first = s.front(), last = s.back();
    if (first == L' ' || first == L'\t' || first == L'"' || last == L' ' || last == L'\t')
        return true;
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (c < 0x20 || c == 0x7F)
            return true;
        if (IsHighSurrogate(c) && i + 1 < s.size() && IsLowSurrogate(s[i + 1]))
            ++i;
        else if (IsHighSurrogate(c) || IsLowSurrogate(c))
            return true;
    }
    return false;
}

std::string TextValue(const std::wstring& s) {
    const bool quoted = NeedsQuotes(s);
    std::string out;
    if (quoted)
        out.push_back('"');
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (IsHighSurrogate(c) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) {
            AppendUtf8(out, 0x10000 + ((static_cast<uint32_t>(c) - 0xD800) << 10) +
                                (static_cast<uint32_t>(s[i + 1]) - 0xDC00));
            ++i;
            continue;
        }
        if (!quoted) {
            AppendUtf8(out, c);
            continue;
        }
        switch (c) {
        case L'"':
            out += "\\\"";
            break;
        case L'\\':
            out += "\\\\";
            break;
        case L'\t':
            out += "\\t";
            break;
        case L'\r':
            out += "\\r";
            break;
        case L'\n':
            out += "\\n";
            break;
        default:
            if (c < 0x20 || c == 0x7F || IsHighSurrogate(c) || IsLowSurrogate(c)) {
                out += "\\u";
                AppendHex(out, c, 4);
            } else {
                AppendUtf8(out, c);
            }
        }
    }
    if (quoted)
        out.push_back('"');
    return out;
}

void WriteNode(std::string& out, const std::string& section, const oVoiceBook& node, bool root) {
    const NodeRecordFields f = node.ToRecord();
    out += "\r\n[" + section + "]\r\n";
    if (root)
        out += "Format=" + std::to_string(kFormat) + "\r\n";
    out += "Name=" + TextValue(f.name) + "\r\nKind=0x";
    // Two digits for every kind this program makes; all eight for anything a file held.
    AppendHex(out, static_cast<uint32_t>(f.kind), (f.kind & ~0xFF) ? 8 : 2);
    out += "\r\n";
    if (f.flags != 0) {
        out += "Flags=0x";
        AppendHex(out, f.flags, 8);
        out += "\r\n";
    }
    const std::pair<const char*, const std::wstring*> texts[] = {{"Command", &f.command},
                                                                 {"Arguments", &f.arguments},
                                                                 {"WorkDir", &f.workDir},
                                                                 {"IconFile", &f.iconFile}};
    for (const auto& [key, value] : texts) {
        if (!value->empty())
            out += std::string(key) + "=" + TextValue(*value) + "\r\n";
    }
    const std::tuple<const char*, int32_t, int32_t> numbers[] = {
        {"IconIndex", f.iconIndex, 0},
        {"ShowCmd", f.showCmd, 1},
        {"DefaultImage", f.defaultImage, -1},
        {"ScanSubFolders", f.scanSubFolders, 0},
        {"Role", f.role, 0}};
    for (const auto& [key, value, fallback] : numbers) {
        if (value != fallback)
            out += std::string(key) + "=" + std::to_string(value) + "\r\n";
    }
    if (const size_t size = root ? 0 : PidlSize(node.m_pidl.get())) {
        out += "IdList=";
        const auto* bytes = reinterpret_cast<const uint8_t*>(node.m_pidl.get());
        for (size_t i = 0; i < size; ++i)
            AppendHex(out, bytes[i], 2);
        out += "\r\n";
    }
}

// ---- reading ----------------------------------------------------------------------------------

// A line of UTF-8 as UTF-16; nothing when it is not UTF-8 (overlong forms, encoded
// surrogates and values past U+10FFFF included).
std::optional<std::wstring> DecodeUtf8(std::string_view line) {
    std::wstring out;
    out.reserve(line.size());
    for (size_t i = 0; i < line.size();) {
        const auto b = static_cast<uint8_t>(line[i]);
        int extra = 0;
        uint32_t cp = 0, minimum = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (extra && i + static_cast<size_t>(extra) >= line.size())
            return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<uint8_t>(line[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        if (cp >= 0x10000) {
            out.push_back(static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(cp));
        }
        i += 1 + static_cast<size_t>(extra);
    }
    return out;
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring Trim(const std::wstring& s) {
    size_t a = 0, b = s.size();
    while (a < b && IsBlank(s[a]))
        ++a;
    while (b > a && IsBlank(s[b - 1]))
        --b;
    return s.substr(a, b - a);
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// A text value: as written (without the blanks around it), or quoted with escapes.
std::optional<std::wstring> ParseText(const std::wstring& raw) {
    const std::wstring value = Trim(raw);
    if (value.empty() || value.front() != L'"')
        return value;
    std::wstring out;
    size_t i = 1;
    for (; i < value.size() && value[i] != L'"'; ++i) {
        if (value[i] != L'\\') {
            out.push_back(value[i]);
            continue;
        }
        if (++i >= value.size())
            return std::nullopt;
        switch (value[i]) {
        case L'"':
        case L'\\':
            out.push_back(value[i]);
            break;
        case L't':
            out.push_back(L'\t');
            break;
        case L'r':
            out.push_back(L'\r');
            break;
        case L'n':
            out.push_back(L'\n');
            break;
        case L'u': {
            uint32_t unit = 0;
            for (int k = 0; k < 4; ++k) {
                const int d = ++i < value.size() ? HexDigit(value[i]) : -1;
                if (d < 0)
                    return std::nullopt;
                unit = unit * 16 + static_cast<uint32_t>(d);
            }
            out.push_back(static_cast<wchar_t>(unit));
            break;
        }
        default:
            return std::nullopt;
        }
    }
    // The closing quote ends the value: nothing may follow it (the outer blanks are gone).
    if (i + 1 != value.size())
        return std::nullopt;
    return out;
}

// A 32-bit number: decimal between `low` and `high`, or 0x and up to eight hex digits (the
// bit pattern).
std::optional<int64_t> ParseNumber(const std::wstring& raw, int64_t low, int64_t high) {
    const std::wstring value = Trim(raw);
    if (value.size() > 2 && value[0] == L'0' && (value[1] == L'x' || value[1] == L'X')) {
        if (value.size() > 10)
            return std::nullopt;
        uint32_t bits = 0;
        for (size_t i = 2; i < value.size(); ++i) {
            const int d = HexDigit(value[i]);
            if (d < 0)
                return std::nullopt;
            bits = bits * 16 + static_cast<uint32_t>(d);
        }
        return low < 0 ? static_cast<int64_t>(static_cast<int32_t>(bits)) : int64_t{bits};
    }
    size_t i = value.size() > 1 && value[0] == L'-' ? 1 : 0;
    if (i == value.size() || value.size() - i > 10)
        return std::nullopt;
    int64_t n = 0;
    for (; i < value.size(); ++i) {
        if (value[i] < L'0' || value[i] > L'9')
            return std::nullopt;
        n = n * 10 + (value[i] - L'0');
    }
    if (value[0] == L'-')
        n = -n;
    if (n < low || n > high)
        return std::nullopt;
    return n;
}

fw::Pidl ParseIdList(const std::wstring& raw, bool& ok) {
    const std::wstring value = Trim(raw);
    ok = value.size() % 2 == 0;
    if (!ok || value.empty())
        return fw::Pidl();
    std::vector<uint8_t> bytes(value.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int hi = HexDigit(value[2 * i]), lo = HexDigit(value[2 * i + 1]);
        if (hi < 0 || lo < 0) {
            ok = false;
            return fw::Pidl();
        }
        bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    ok = PidlIsWellFormed(bytes.data(), bytes.size());
    void* list = ok ? ::CoTaskMemAlloc(bytes.size()) : nullptr;
    if (!list) {
        ok = false;
        return fw::Pidl();
    }
    std::memcpy(list, bytes.data(), bytes.size());
    return fw::Pidl(static_cast<LPITEMIDLIST>(list));
}

// "Root", "Root_2", "Root_2_1": the places below the root; nothing for any other name.
std::optional<std::vector<uint32_t>> ParseSectionName(const std::wstring& name) {
    if (name.compare(0, 4, L"Root") != 0)
        return std::nullopt;
    std::vector<uint32_t> places;
    for (size_t i = 4; i < name.size();) {
        if (name[i] != L'_')
            return std::nullopt;
        size_t end = ++i;
        uint32_t n = 0;
        while (end < name.size() && name[end] >= L'0' && name[end] <= L'9' && end - i < 9)
            n = n * 10 + static_cast<uint32_t>(name[end++] - L'0');
        if (end == i || n == 0 || (end < name.size() && name[end] != L'_'))
            return std::nullopt;
        places.push_back(n);
        i = end;
    }
    return places;
}

class Reader {
public:
    TreeTextResult Read(std::string_view text) {
        if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            text.remove_prefix(3);
        size_t start = 0;
        while (start <= text.size() && result_.error == TreeTextError::None) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            ++lineNumber_;
            ReadLine(line);
            start = end + 1;
        }
        if (result_.error == TreeTextError::None)
            FinishSection();
        if (result_.error == TreeTextError::None && !root_)
            Fail(TreeTextError::ExpectedRoot);
        if (result_.error == TreeTextError::None)
            result_.root = std::move(root_);
        return std::move(result_);
    }

private:
    struct Placed {
        oVoiceBook* node;
        uint32_t lastChildPlace;
    };

    void Fail(TreeTextError error, size_t line = 0) {
        if (result_.error != TreeTextError::None)
            return;
        result_.error = error;
        result_.line = line ? line : lineNumber_;
    }

    void ReadLine(std::string_view bytes) {
        const std::optional<std::wstring> decoded = DecodeUtf8(bytes);
        if (!decoded)
            return Fail(TreeTextError::NotUtf8);
        const std::wstring line = Trim(*decoded);
        if (line.empty() || line.front() == L';' || line.front() == L'#')
            return;
        if (line.front() == L'[') {
            if (line.back() != L']')
                return Fail(TreeTextError::BadSection);
            return StartSection(line.substr(1, line.size() - 2));
        }
        const size_t equals = line.find(L'=');
        const std::wstring key = Trim(line.substr(0, equals));
        if (equals == std::wstring::npos || key.empty())
            return Fail(section_ ? TreeTextError::BadLine : TreeTextError::ExpectedRoot);
        if (!section_)
            return Fail(TreeTextError::ExpectedRoot);
        Entry(key, line.substr(equals + 1));
    }

    void StartSection(const std::wstring& name) {
        FinishSection();
        if (result_.error != TreeTextError::None)
            return;
        const std::optional<std::vector<uint32_t>> places = ParseSectionName(Trim(name));
        if (!places)
            return Fail(TreeTextError::BadSection);
        if (places->empty() != !root_)
            return Fail(root_ ? TreeTextError::OutOfOrder : TreeTextError::ExpectedRoot);
        Section s;
        s.places = *places;
        s.line = lineNumber_;
        s.fields.defaultImage = -1;
        if (s.places.empty()) {
            s.fields.kind = KIND_BOOK;
            s.hasKind = true;
        } else {
            const std::vector<uint32_t> parentPlaces(s.places.begin(), s.places.end() - 1);
            const auto parent = placed_.find(parentPlaces);
            if (parent == placed_.end())
                return Fail(TreeTextError::NoParent);
            if (s.places.back() <= parent->second.lastChildPlace)
                return Fail(TreeTextError::OutOfOrder);
        }
        section_ = std::move(s);
    }

    void FinishSection() {
        if (!section_)
            return;
        Section s = std::move(*section_);
        section_.reset();
        if (!s.hasKind)
            return Fail(TreeTextError::NoKind, s.line);
        oVoiceBook* node = nullptr;
        if (s.places.empty()) {
            root_ = std::make_unique<oVoiceBook>(s.fields);
            node = root_.get();
        } else {
            Placed& parent =
                placed_.at(std::vector<uint32_t>(s.places.begin(), s.places.end() - 1));
            node = new oVoiceBook(s.fields);
            node->SetPidl(std::move(s.idList));
            parent.node->AppendChild(node);
            parent.lastChildPlace = s.places.back();
        }
        placed_[s.places] = Placed{node, 0};
    }

    void Entry(const std::wstring& key, const std::wstring& value) {
        Section& s = *section_;
        if (!s.seen.insert(key).second)
            return Fail(TreeTextError::Repeated);
        NodeRecordFields& f = s.fields;
        const std::pair<const wchar_t*, std::wstring*> texts[] = {{L"Name", &f.name},
                                                                  {L"Command", &f.command},
                                                                  {L"Arguments", &f.arguments},
                                                                  {L"WorkDir", &f.workDir},
                                                                  {L"IconFile", &f.iconFile}};
        for (const auto& [name, field] : texts) {
            if (key != name)
                continue;
            std::optional<std::wstring> text = ParseText(value);
            if (!text)
                return Fail(TreeTextError::BadQuote);
            *field = std::move(*text);
            return;
        }
        const std::pair<const wchar_t*, int32_t*> numbers[] = {
            {L"IconIndex", &f.iconIndex},
            {L"ShowCmd", &f.showCmd},
            {L"DefaultImage", &f.defaultImage},
            {L"ScanSubFolders", &f.scanSubFolders},
            {L"Role", &f.role},
            {L"Kind", &f.kind}};
        for (const auto& [name, field] : numbers) {
            if (key != name)
                continue;
            const std::optional<int64_t> n = ParseNumber(value, INT32_MIN, INT32_MAX);
            if (!n)
                return Fail(TreeTextError::BadNumber);
            *field = static_cast<int32_t>(*n);
            s.hasKind = s.hasKind || field == &f.kind;
            return;
        }
        if (key == L"Flags") {
            const std::optional<int64_t> n = ParseNumber(value, 0, UINT32_MAX);
            if (!n)
                return Fail(TreeTextError::BadNumber);
            f.flags = static_cast<uint32_t>(*n);
        } else if (key == L"Format" && s.places.empty()) {
            if (ParseNumber(value, 0, INT32_MAX) != int64_t{kFormat})
                return Fail(TreeTextError::UnknownFormat);
        } else if (key == L"IdList" && !s.places.empty()) {
            bool ok = false;
            s.idList = ParseIdList(value, ok);
            if (!ok)
                return Fail(TreeTextError::BadIdList);
        } else {
            Fail(TreeTextError::UnknownEntry);
        }
    }

    struct Section {
        std::vector<uint32_t> places;
        size_t line = 0;
        NodeRecordFields fields;
        fw::Pidl idList;
        bool hasKind = false;
        std::set<std::wstring> seen;
    };

    TreeTextResult result_;
    size_t lineNumber_ = 0;
    std::unique_ptr<oVoiceBook> root_;
    std::optional<Section> section_;
    std::map<std::vector<uint32_t>, Placed> placed_;
};

} // namespace

std::string TreeToText(const oVoiceBook& root) {
    std::string out = "\xEF\xBB\xBF";
    out += kHeader;
    WriteNode(out, "Root", root, true);
    // Pre-order, each node's section named by the places on its way from the root.
    struct Step {
        const oVoiceBook* node;
        std::string section;
    };
    std::vector<Step> stack;
    auto pushChildren = [&](const oVoiceBook& parent, const std::string& section) {
        std::vector<Step> children;
        uint32_t place = 0;
        for (const oVoiceBook* c = parent.FirstChild(); c; c = c->Next())
            children.push_back({c, section + "_" + std::to_string(++place)});
        stack.insert(stack.end(), children.rbegin(), children.rend());
    };
    pushChildren(root, "Root");
    while (!stack.empty()) {
        const Step step = std::move(stack.back());
        stack.pop_back();
        WriteNode(out, step.section, *step.node, false);
        pushChildren(*step.node, step.section);
    }
    return out;
}

TreeTextResult TreeFromText(std::string_view text) {
    return Reader().Read(text);
}

void TakeChildren(oVoiceBook& from, oVoiceBook& to) {
    while (oVoiceBook* child = from.FirstChild()) {
        from.Unlink(child);
        to.AppendChild(child);
    }
}

void TakeWholeTree(oVoiceBook& root, oVoiceBook& read) {
    root.DeleteChildren();
    root.SetFromRecord(read.ToRecord());
    TakeChildren(read, root);
}

} // namespace model
