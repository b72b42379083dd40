#include "model/launch_stats.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/text.h"
#include "model/file_replace.h"
#include "model/voice_book.h"

namespace model {

namespace {

constexpr char kHeader[] = "larkRunBar launches 1\n";
constexpr size_t kMaxFileSize = size_t{4} << 20;
constexpr wchar_t kPathSeparator = L'\x1f';

// Percent escapes keep every key on one line of its own.
std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || c == '%' || b == 0x7F) {
            char hex[4];
            std::snprintf(hex, sizeof(hex), "%%%02X", b);
            out += hex;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        unsigned value = 0;
        for (size_t k = i + 1; k <= i + 2; ++k) {
            const char c = text[k];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return false;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        out.push_back(static_cast<char>(value));
        i += 2;
    }
    return true;
}

bool ReadNumber(std::string_view& text, uint64_t& value, uint64_t max) {
    const size_t tab = text.find('\t');
    if (tab == 0 || tab == std::string_view::npos || tab > 20)
        return false;
    value = 0;
    for (size_t i = 0; i < tab; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
        if (value > (max - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    text.remove_prefix(tab + 1);
    return true;
}

} // namespace

std::wstring LaunchStats::CategoryPrefix(const std::wstring& prefix, const oVoiceBook& category) {
    return prefix + category.m_strName + kPathSeparator;
}

std::wstring LaunchStats::KeyFor(const std::wstring& prefix, const oVoiceBook& node) {
    std::wstring key = CategoryPrefix(prefix, node);
    if (node.IsButton())
        key += node.m_strCommand;
    return key;
}

std::wstring LaunchStats::KeyFor(const oVoiceBook& node) {
    std::vector<const oVoiceBook*> chain;
    for (const oVoiceBook* n = node.Parent(); n && n->Parent(); n = n->Parent())
        chain.push_back(n);
    std::wstring prefix;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        prefix = CategoryPrefix(prefix, **it);
    return KeyFor(prefix, node);
}

LaunchRecord LaunchStats::Find(const std::wstring& key) const {
    const auto it = records_.find(key);
    return it == records_.end() ? LaunchRecord{} : it->second;
}

void LaunchStats::Record(const std::wstring& key, uint64_t when) {
    LaunchRecord& r = records_[key];
    if (r.count < UINT32_MAX)
        ++r.count;
    r.last = std::max(r.last, when);
}

std::string LaunchStats::Encode() const {
    std::vector<std::pair<const std::wstring*, LaunchRecord>> kept;
    kept.reserve(records_.size());
    for (const auto& [key, record] : records_)
        kept.emplace_back(&key, record);
    // The most recent first, so a cut drops the least recent; the order is also stable.
    std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
        return a.second.last != b.second.last ? a.second.last > b.second.last : *a.first < *b.first;
    });
    kept.resize(std::min(kept.size(), kMaxLaunchEntries));
    std::string text = kHeader;
    for (const auto& [key, record] : kept) {
        text += std::to_string(record.count) + '\t' + std::to_string(record.last) + '\t' +
                Escape(fw::ToCodePage(*key, CP_UTF8)) + '\n';
    }
    return text;
}

LaunchStats LaunchStats::Decode(std::string_view text) {
    LaunchStats stats;
    if (text.substr(0, sizeof(kHeader) - 1) != kHeader)
        return stats;
    text.remove_prefix(sizeof(kHeader) - 1);
    std::string key;
    while (!text.empty() && stats.records_.size() < kMaxLaunchEntries) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        uint64_t count = 0;
        uint64_t last = 0;
        if (!ReadNumber(line, count, UINT32_MAX) || !ReadNumber(line, last, UINT64_MAX) ||
            count == 0 || !Unescape(line, key) || key.empty())
            continue;
        LaunchRecord& r = stats.records_[fw::FromCodePage(key, CP_UTF8)];
        r.count = std::max(r.count, static_cast<uint32_t>(count));
        r.last = std::max(r.last, last);
    }
    return stats;
}

LaunchStats LaunchStats::Load(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path, bytes, kMaxFileSize, 0) != ReadResult::Ok)
        return LaunchStats();
    return Decode(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool LaunchStats::Save(const std::wstring& path) const {
    const std::string text = Encode();
    return ReplaceFileAtomically(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

} // namespace model
