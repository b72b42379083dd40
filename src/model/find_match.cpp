#include "model/find_match.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <tuple>

namespace model {

namespace {

bool IsCombiningMark(wchar_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) ||
           (c >= 0xFE20 && c <= 0xFE2F);
}

// Spaces and punctuation part words; letters and digits of any script make them.
bool IsSeparator(wchar_t c) {
    if (c < 0x80)
        return !((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'));
    return (c >= 0x00A0 && c <= 0x00BF) || c == 0x00D7 || c == 0x00F7 ||
           (c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x303F) ||
           (c >= 0xFF01 && c <= 0xFF0F);
}

// Folds through the system: decomposed, combining marks dropped, lower case.
std::wstring FoldBySystem(std::wstring_view text) {
    std::wstring out;
    const int in = static_cast<int>(std::min<size_t>(text.size(), 0x7FFFFFF));
    int size = ::NormalizeString(NormalizationKD, text.data(), in, nullptr, 0);
    std::wstring decomposed;
    // The estimate can be short; the system then says how much more it needs.
    for (int tries = 0; size > 0 && tries < 3; ++tries) {
        decomposed.resize(static_cast<size_t>(size));
        size = ::NormalizeString(NormalizationKD, text.data(), in, decomposed.data(), size);
        if (size > 0) {
            decomposed.resize(static_cast<size_t>(size));
            break;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
        size = -size;
    }
    if (size <= 0)
        decomposed.assign(text); // text the system refuses (a lone surrogate) is kept as it is
    out.reserve(decomposed.size());
    for (wchar_t c : decomposed)
        if (!IsCombiningMark(c))
            out.push_back(c);
    if (!out.empty())
        ::CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

// The Latin letters (below U+0250) fold to one character each, or to none; asked of the
// system once, so most names never call it.
constexpr wchar_t kLatinEnd = 0x250;
const std::array<wchar_t, kLatinEnd>& LatinFolds() {
    static const std::array<wchar_t, kLatinEnd> table = [] {
        std::array<wchar_t, kLatinEnd> t{};
        for (wchar_t c = 0; c < kLatinEnd; ++c) {
            const std::wstring f = c < 0x80 ? std::wstring(1, c) : FoldBySystem({&c, 1});
            // Letters that decompose into more than one (the ligatures) keep the system's way.
            t[c] = f.size() == 1 ? f[0] : 0;
        }
        for (wchar_t c = L'A'; c <= L'Z'; ++c)
            t[c] = static_cast<wchar_t>(c - L'A' + L'a');
        return t;
    }();
    return table;
}

} // namespace

std::wstring FoldForFind(std::wstring_view text) {
    std::wstring out(text);
    bool latin = true;
    for (wchar_t& c : out) {
        if (c < L'A' || (c > L'Z' && c < 0x80))
            continue;
        if (c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
            continue;
        }
        const wchar_t f = c < kLatinEnd ? LatinFolds()[c] : 0;
        if (!f) {
            latin = false;
            break;
        }
        c = f;
    }
    return latin ? out : FoldBySystem(text);
}

FindName PrepareFindName(std::wstring_view name) {
    FindName prepared;
    prepared.folded = FoldForFind(name);
    const std::wstring& f = prepared.folded;
    for (size_t i = 0; i < f.size() && i < 0xFFFF; ++i) {
        if (IsSeparator(f[i]) || (i > 0 && !IsSeparator(f[i - 1])))
            continue;
        prepared.initials.push_back(f[i]);
        if (i > 0)
            prepared.starts.push_back(static_cast<uint16_t>(i));
    }
    return prepared;
}

FindMatch MatchFindName(const FindName& name, std::wstring_view query) {
    const std::wstring_view f = name.folded;
    if (f.substr(0, query.size()) == query)
        return FindMatch::Prefix;
    for (uint16_t start : name.starts)
        if (f.substr(start, query.size()) == query)
            return FindMatch::WordPrefix;
    if (query.size() > 1 && name.initials.find(query) != std::wstring::npos)
        return FindMatch::Initials;
    if (f.find(query) != std::wstring_view::npos)
        return FindMatch::Substring;
    return FindMatch::None;
}

namespace {

using Hit = std::pair<FindMatch, size_t>;

// The candidates matching `folded`, among `within` only when given.
std::vector<Hit> MatchAll(const std::vector<FindCandidate>& candidates, const std::wstring& folded,
                          const std::vector<size_t>* within) {
    std::vector<Hit> hits;
    const size_t total = within ? within->size() : candidates.size();
    hits.reserve(total);
    for (size_t k = 0; k < total; ++k) {
        const size_t i = within ? (*within)[k] : k;
        const FindMatch match =
            folded.empty() ? FindMatch::Prefix : MatchFindName(candidates[i].name, folded);
        if (match != FindMatch::None)
            hits.emplace_back(match, i);
    }
    return hits;
}

std::vector<size_t> Best(const std::vector<FindCandidate>& candidates, std::vector<Hit> hits,
                         size_t limit) {
    const auto better = [&](const Hit& a, const Hit& b) {
        const FindCandidate& x = candidates[a.second];
        const FindCandidate& y = candidates[b.second];
        return std::make_tuple(a.first, y.launches, y.lastLaunch, a.second) <
               std::make_tuple(b.first, x.launches, x.lastLaunch, b.second);
    };
    const size_t count = std::min(limit, hits.size());
    std::partial_sort(hits.begin(), hits.begin() + static_cast<ptrdiff_t>(count), hits.end(),
                      better);
    std::vector<size_t> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = hits[i].second;
    return order;
}

} // namespace

std::vector<size_t> RankFind(const std::vector<FindCandidate>& candidates, std::wstring_view query,
                             size_t limit) {
    return Best(candidates, MatchAll(candidates, FoldForFind(query), nullptr), limit);
}

std::vector<size_t> FindSession::Rank(const std::vector<FindCandidate>& candidates,
                                      std::wstring_view query, size_t limit) {
    std::wstring folded = FoldForFind(query);
    const bool refined = valid_ && folded.compare(0, folded_.size(), folded_) == 0;
    std::vector<Hit> hits = MatchAll(candidates, folded, refined ? &matched_ : nullptr);
    matched_.resize(hits.size());
    for (size_t i = 0; i < hits.size(); ++i)
        matched_[i] = hits[i].second;
    folded_ = std::move(folded);
    valid_ = true;
    return Best(candidates, std::move(hits), limit);
}

void FindSession::Reset() {
    valid_ = false;
    folded_.clear();
    matched_.clear();
}

} // namespace model
