#pragma once
// Trees with every stored field set, built the same way from a seed by the tests and by the
// save-loop helper program; and a field-by-field comparison of two trees.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/pidl.h"
#include "model/voice_book.h"

namespace sample {

inline std::wstring RandomText(std::mt19937& rng, size_t maxLength) {
    std::uniform_int_distribution<size_t> length(0, maxLength);
    // Letters, digits, punctuation and a few characters beyond ASCII.
    static const wchar_t kChars[] =
        L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,:;\\/-_()[]"
        L"\u00e4\u00f6\u00fc\u00df\u00e9\u0416\u4e2d\u6587";
    std::uniform_int_distribution<size_t> pick(0, std::size(kChars) - 2);
    std::wstring out(length(rng), L' ');
    for (wchar_t& c : out)
        c = kChars[pick(rng)];
    return out;
}

// A well-formed identifier list of 1 to 4 items, allocated with the shell allocator.
inline fw::Pidl RandomIdList(std::mt19937& rng) {
    std::uniform_int_distribution<int> items(1, 4), payload(0, 40), byte(1, 255);
    std::vector<uint8_t> bytes;
    for (int i = items(rng); i > 0; --i) {
        const int n = payload(rng);
        const auto cb = static_cast<uint16_t>(2 + n);
        bytes.push_back(static_cast<uint8_t>(cb));
        bytes.push_back(static_cast<uint8_t>(cb >> 8));
        for (int k = 0; k < n; ++k)
            bytes.push_back(static_cast<uint8_t>(byte(rng)));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    void* p = ::CoTaskMemAlloc(bytes.size());
    std::memcpy(p, bytes.data(), bytes.size());
    return fw::Pidl(static_cast<LPITEMIDLIST>(p));
}

inline void RandomContent(std::mt19937& rng, oVoiceBook& node, bool category) {
    std::uniform_int_distribution<int> small(0, 1000), show(1, 11), bit(0, 1), role(0, 1);
    node.SetName(RandomText(rng, 60).c_str());
    node.SetCommand(RandomText(rng, 200).c_str());
    node.SetArguments(RandomText(rng, 80).c_str());
    node.SetWorkDir(RandomText(rng, 80).c_str());
    node.SetIcon(RandomText(rng, 100).c_str(), small(rng) - 500);
    const int s = show(rng);
    node.m_nShowCmd = s == 10 ? 1 : s; // 10 is stored as 1
    node.m_nKind = category ? (KIND_ITEM | KIND_BOOK) : (KIND_ITEM | KIND_COMMAND);
    node.m_nFlags = static_cast<uint32_t>(rng());
    node.m_nDefaultImage = small(rng) - 1;
    node.m_bScanSubFolders = bit(rng);
    node.m_nRole = category ? ROLE_NORMAL : role(rng);
    if (bit(rng))
        node.SetPidl(RandomIdList(rng));
}

// `buttons` buttons spread over categories nested up to `maxDepth` deep below the root.
inline void BuildTree(oVoiceBook& root, uint32_t seed, int buttons, int maxDepth) {
    std::mt19937 rng(seed);
    root.ResetAll(L"ToolBar");
    root.SetCommand(RandomText(rng, 30).c_str());
    root.m_nFlags = static_cast<uint32_t>(rng());
    std::vector<oVoiceBook*> categories;
    std::uniform_int_distribution<int> percent(0, 99);
    int made = 0;
    while (made < buttons) {
        // A new category below the root or below an existing category that is not too deep.
        oVoiceBook* parent = &root;
        if (!categories.empty() && percent(rng) < 60) {
            oVoiceBook* c = categories[static_cast<size_t>(rng() % categories.size())];
            if (c->m_nDepth < maxDepth)
                parent = c;
        }
        auto* category = new oVoiceBook();
        RandomContent(rng, *category, true);
        parent->AppendChild(category);
        categories.push_back(category);
        const int count = std::min(buttons - made, 1 + percent(rng) % 20);
        for (int i = 0; i < count; ++i) {
            auto* button = new oVoiceBook();
            RandomContent(rng, *button, false);
            // Categories and buttons mixed, as the user may order them.
            oVoiceBook* target = categories[static_cast<size_t>(rng() % categories.size())];
            target->AppendChild(button);
        }
        made += count;
    }
}

inline int CountNodes(const oVoiceBook& root) {
    int n = 0;
    const_cast<oVoiceBook&>(root).WalkDescendantsF([&](oTreeNode&) {
        ++n;
        return int{WALK_DESCEND};
    });
    return n;
}

inline std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s)
        out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

// The stored fields of two nodes; empty when they agree.
inline std::string CompareNodes(const oVoiceBook& a, const oVoiceBook& b) {
    std::ostringstream why;
    auto text = [&](const char* field, const std::wstring& x, const std::wstring& y) {
        if (x != y)
            why << field << " '" << Narrow(x) << "' != '" << Narrow(y) << "'; ";
    };
    auto number = [&](const char* field, int64_t x, int64_t y) {
        if (x != y)
            why << field << " " << x << " != " << y << "; ";
    };
    text("name", a.m_strName, b.m_strName);
    text("command", a.m_strCommand, b.m_strCommand);
    text("arguments", a.m_strArguments, b.m_strArguments);
    text("workDir", a.m_strWorkDir, b.m_strWorkDir);
    text("iconFile", a.m_strIconFile, b.m_strIconFile);
    number("iconIndex", a.m_nIconIndex, b.m_nIconIndex);
    number("showCmd", a.m_nShowCmd, b.m_nShowCmd);
    number("kind", a.m_nKind, b.m_nKind);
    number("flags", a.m_nFlags, b.m_nFlags);
    number("defaultImage", a.m_nDefaultImage, b.m_nDefaultImage);
    number("scanSubFolders", a.m_bScanSubFolders, b.m_bScanSubFolders);
    number("role", a.m_nRole, b.m_nRole);
    number("depth", a.m_nDepth, b.m_nDepth);
    const size_t sa = model::PidlSize(a.m_pidl.get()), sb = model::PidlSize(b.m_pidl.get());
    if (sa != sb || (sa && std::memcmp(a.m_pidl.get(), b.m_pidl.get(), sa) != 0))
        why << "identifier list differs (" << sa << " / " << sb << " bytes); ";
    return why.str();
}

// Whole trees, node by node in pre-order (equal depths in pre-order mean equal shapes), and
// the root's record.
inline std::string CompareTrees(const oVoiceBook& a, const oVoiceBook& b) {
    std::vector<const oVoiceBook*> x, y;
    auto collect = [](const oVoiceBook& root, std::vector<const oVoiceBook*>& out) {
        const_cast<oVoiceBook&>(root).WalkDescendantsF([&](oTreeNode& n) {
            out.push_back(static_cast<const oVoiceBook*>(&n));
            return int{WALK_DESCEND};
        });
    };
    collect(a, x);
    collect(b, y);
    std::ostringstream why;
    if (x.size() != y.size())
        why << "node count " << x.size() << " != " << y.size() << "; ";
    for (size_t i = 0; i < std::min(x.size(), y.size()); ++i) {
        const std::string d = CompareNodes(*x[i], *y[i]);
        if (!d.empty()) {
            why << "node " << i << ": " << d;
            break;
        }
    }
    // The root: its record fields (its identifier list is not stored).
    const NodeRecordFields fa = a.ToRecord(), fb = b.ToRecord();
    if (fa.name != fb.name || fa.command != fb.command || fa.arguments != fb.arguments ||
        fa.workDir != fb.workDir || fa.iconFile != fb.iconFile || fa.iconIndex != fb.iconIndex ||
        fa.defaultImage != fb.defaultImage || fa.scanSubFolders != fb.scanSubFolders ||
        fa.kind != fb.kind || fa.flags != fb.flags || fa.role != fb.role ||
        fa.showCmd != fb.showCmd)
        why << "root differs; ";
    return why.str();
}

} // namespace sample
