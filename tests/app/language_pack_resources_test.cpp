// The German pack holds every string, menu item and dialog control of the program, so a text
// added to the program without its translation is caught here.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "framework/language_pack.h"
#include "support/test_util.h"

namespace {

using IdSet = std::set<UINT>;
using Bytes = std::vector<BYTE>;

std::vector<UINT> ResourceIds(HMODULE module, const wchar_t* type) {
    std::vector<UINT> ids;
    ::EnumResourceNamesW(
        module, type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) -> BOOL {
            if (IS_INTRESOURCE(name))
                reinterpret_cast<std::vector<UINT>*>(ids)->push_back(LOWORD(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

// The resource's bytes, empty when the module does not have it.
Bytes ResourceBytes(HMODULE module, const wchar_t* type, UINT id) {
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    const auto* data =
        found ? static_cast<const BYTE*>(::LockResource(::LoadResource(module, found))) : nullptr;
    return data ? Bytes(data, data + ::SizeofResource(module, found)) : Bytes();
}

WORD WordAt(const Bytes& b, size_t at) {
    return at + 2 <= b.size() ? static_cast<WORD>(b[at] | (b[at + 1] << 8)) : 0;
}

IdSet StringIds(HMODULE module) {
    IdSet ids;
    for (UINT block : ResourceIds(module, RT_STRING)) {
        const Bytes bytes = ResourceBytes(module, RT_STRING, block);
        for (size_t i = 0, at = 0; i < 16 && at < bytes.size();
             ++i, at += 2 + 2 * WordAt(bytes, at))
            if (WordAt(bytes, at) != 0)
                ids.insert((block - 1) * 16 + static_cast<UINT>(i));
    }
    return ids;
}

void CollectMenuIds(HMENU menu, IdSet& ids) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.hSubMenu)
            CollectMenuIds(info.hSubMenu, ids);
        else if (!(info.fType & MFT_SEPARATOR))
            ids.insert(info.wID);
    }
}

// The control identifiers of a dialog template, extended (DIALOGEX) or plain.
IdSet ControlIds(const Bytes& b) {
    IdSet ids;
    const bool extended = WordAt(b, 0) == 1 && WordAt(b, 2) == 0xFFFF;
    const DWORD style = WordAt(b, extended ? 12 : 0) | (WordAt(b, extended ? 14 : 2) << 16);
    size_t at = extended ? 16 : 8;
    const WORD count = WordAt(b, at);
    at += 10;
    auto skipString = [&] {
        while (at < b.size() && WordAt(b, at) != 0)
            at += 2;
        at += 2;
    };
    auto skipNameOrOrdinal = [&] { WordAt(b, at) == 0xFFFF ? void(at += 4) : skipString(); };
    skipNameOrOrdinal(); // menu
    skipNameOrOrdinal(); // class
    skipString();        // caption
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        at += extended ? 6 : 2;
        skipString();
    }
    for (WORD i = 0; i < count && at < b.size(); ++i) {
        at = ((at + 3) & ~size_t{3}) + (extended ? 20 : 16);
        ids.insert(extended ? WordAt(b, at) | (WordAt(b, at + 2) << 16) : WordAt(b, at));
        at += extended ? 4 : 2;
        skipNameOrOrdinal(); // class
        skipNameOrOrdinal(); // text
        at += 2 + WordAt(b, at);
    }
    return ids;
}

class LanguagePackResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program_) << ::GetLastError();
        ASSERT_TRUE(pack_) << ::GetLastError();
    }
    fw::Module program_ = fw::LoadPackAsData(test::ExeFolder() + L"LarkB.exe");
    fw::Module pack_ = fw::LoadPackAsData(test::ExeFolder() + L"LarkB.DEU");
};

TEST_F(LanguagePackResourcesTest, EveryStringOfTheProgramIsInThePack) {
    const IdSet program = StringIds(program_.get());
    const IdSet pack = StringIds(pack_.get());
    ASSERT_GT(program.size(), 40u);
    for (UINT id : program)
        EXPECT_TRUE(pack.count(id)) << "string " << id << " is not translated";
}

TEST_F(LanguagePackResourcesTest, EveryMenuItemOfTheProgramIsInThePacksMenu) {
    for (UINT menuId : ResourceIds(program_.get(), RT_MENU)) {
        HMENU programMenu = ::LoadMenuW(program_.get(), MAKEINTRESOURCEW(menuId));
        HMENU packMenu = ::LoadMenuW(pack_.get(), MAKEINTRESOURCEW(menuId));
        ASSERT_NE(packMenu, nullptr) << "menu " << menuId << " is not translated";
        IdSet programIds, packIds;
        CollectMenuIds(programMenu, programIds);
        CollectMenuIds(packMenu, packIds);
        for (UINT id : programIds)
            EXPECT_TRUE(packIds.count(id)) << "menu " << menuId << " item " << id;
        ::DestroyMenu(programMenu);
        ::DestroyMenu(packMenu);
    }
}

TEST_F(LanguagePackResourcesTest, EveryDialogOfTheProgramIsInThePackWithItsControls) {
    const std::vector<UINT> dialogs = ResourceIds(program_.get(), RT_DIALOG);
    ASSERT_GE(dialogs.size(), 5u);
    // The reader finds controls past texts, classes and a font: the spin after the edit.
    ASSERT_EQ(ControlIds(ResourceBytes(program_.get(), RT_DIALOG, 30724)).count(1101), 1u);
    for (UINT dialogId : dialogs) {
        const Bytes packBytes = ResourceBytes(pack_.get(), RT_DIALOG, dialogId);
        ASSERT_FALSE(packBytes.empty()) << "dialog " << dialogId << " is not translated";
        const IdSet packIds = ControlIds(packBytes);
        for (UINT id : ControlIds(ResourceBytes(program_.get(), RT_DIALOG, dialogId)))
            EXPECT_TRUE(packIds.count(id)) << "dialog " << dialogId << " control " << id;
    }
}

TEST_F(LanguagePackResourcesTest, ThePackHasTheProgramsVersion) {
    const DWORD version = fw::FileVersionMajorMinor(test::ExeFolder() + L"LarkB.exe");
    EXPECT_NE(version, 0u);
    EXPECT_EQ(fw::FileVersionMajorMinor(test::ExeFolder() + L"LarkB.DEU"), version);
}

} // namespace
