// The German pack holds every string, menu item and dialog control of the program, so a text
// added to the program without its translation is caught here.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/language_pack.h"
#include "support/test_util.h"

namespace {

using IdSet = std::set<UINT>;

std::vector<UINT> ResourceIds(HMODULE module, const wchar_t* type) {
    std::vector<UINT> ids;
    ::EnumResourceNamesW(
        module, type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
            if (IS_INTRESOURCE(name))
                reinterpret_cast<std::vector<UINT>*>(param)->push_back(
                    static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

// The resource's bytes, empty when the module does not have it.
std::vector<BYTE> ResourceBytes(HMODULE module, const wchar_t* type, UINT id) {
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found)
        return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    const auto* data = static_cast<const BYTE*>(::LockResource(loaded));
    return data ? std::vector<BYTE>(data, data + ::SizeofResource(module, found))
                : std::vector<BYTE>();
}

IdSet StringIds(HMODULE module) {
    IdSet ids;
    for (UINT block : ResourceIds(module, RT_STRING)) {
        const std::vector<BYTE> bytes = ResourceBytes(module, RT_STRING, block);
        size_t at = 0;
        for (UINT i = 0; i < 16 && at + 2 <= bytes.size(); ++i) {
            const WORD length = static_cast<WORD>(bytes[at] | (bytes[at + 1] << 8));
            if (length != 0)
                ids.insert((block - 1) * 16 + i);
            at += 2 + 2 * size_t{length};
        }
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

// Reads templates in both layouts, the extended one (DIALOGEX) and the plain one.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}

    IdSet ControlIds() {
        IdSet ids;
        if (bytes_.size() < 26)
            return ids;
        const bool extended = Word(0) == 1 && Word(2) == 0xFFFF;
        at_ = extended ? 8 : 0;
        const DWORD style = extended ? Dword(12) : Dword(0);
        at_ = extended ? 16 : 8;
        const WORD count = Word(at_);
        at_ += 2 + 8;
        SkipNameOrOrdinal(); // menu
        SkipNameOrOrdinal(); // class
        SkipString();        // caption
        if (style & (DS_SETFONT | DS_SHELLFONT)) {
            at_ += extended ? 6 : 2;
            SkipString();
        }
        for (WORD i = 0; i < count && at_ < bytes_.size(); ++i) {
            at_ = (at_ + 3) & ~size_t{3};
            if (extended) {
                at_ += 12 + 8;
                ids.insert(Dword(at_));
                at_ += 4;
            } else {
                at_ += 8 + 8;
                ids.insert(Word(at_));
                at_ += 2;
            }
            SkipNameOrOrdinal(); // class
            SkipNameOrOrdinal(); // text
            at_ += 2 + Word(at_);
        }
        return ids;
    }

private:
    WORD Word(size_t at) const {
        return at + 2 <= bytes_.size() ? static_cast<WORD>(bytes_[at] | (bytes_[at + 1] << 8)) : 0;
    }
    DWORD Dword(size_t at) const { return Word(at) | (static_cast<DWORD>(Word(at + 2)) << 16); }
    void SkipString() {
        while (at_ < bytes_.size() && Word(at_) != 0)
            at_ += 2;
        at_ += 2;
    }
    void SkipNameOrOrdinal() {
        if (Word(at_) == 0xFFFF)
            at_ += 4;
        else
            SkipString();
    }

    const std::vector<BYTE>& bytes_;
    size_t at_ = 0;
};

class LanguagePackResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        program_ = fw::LoadPackAsData(test::ExeFolder() + L"\\LarkB.exe");
        pack_ = fw::LoadPackAsData(test::ExeFolder() + L"\\LarkB.DEU");
        ASSERT_TRUE(program_) << ::GetLastError();
        ASSERT_TRUE(pack_) << ::GetLastError();
    }
    fw::Module program_;
    fw::Module pack_;
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
        ASSERT_NE(programMenu, nullptr) << menuId;
        EXPECT_NE(packMenu, nullptr) << "menu " << menuId << " is not translated";
        IdSet programIds, packIds;
        CollectMenuIds(programMenu, programIds);
        if (packMenu)
            CollectMenuIds(packMenu, packIds);
        for (UINT id : programIds)
            EXPECT_TRUE(packIds.count(id)) << "menu " << menuId << " item " << id;
        ::DestroyMenu(programMenu);
        if (packMenu)
            ::DestroyMenu(packMenu);
    }
}

TEST_F(LanguagePackResourcesTest, EveryDialogOfTheProgramIsInThePackWithItsControls) {
    const std::vector<UINT> dialogs = ResourceIds(program_.get(), RT_DIALOG);
    ASSERT_GE(dialogs.size(), 5u);
    // The reader finds controls past text, classes and a font: the spin after the edit.
    ASSERT_EQ(
        TemplateReader(ResourceBytes(program_.get(), RT_DIALOG, 30724)).ControlIds().count(1101),
        1u);
    for (UINT dialogId : dialogs) {
        const std::vector<BYTE> programBytes = ResourceBytes(program_.get(), RT_DIALOG, dialogId);
        const std::vector<BYTE> packBytes = ResourceBytes(pack_.get(), RT_DIALOG, dialogId);
        ASSERT_FALSE(packBytes.empty()) << "dialog " << dialogId << " is not translated";
        const IdSet programIds = TemplateReader(programBytes).ControlIds();
        const IdSet packIds = TemplateReader(packBytes).ControlIds();
        for (UINT id : programIds)
            EXPECT_TRUE(packIds.count(id)) << "dialog " << dialogId << " control " << id;
    }
}

TEST_F(LanguagePackResourcesTest, ThePackHasTheProgramsVersion) {
    EXPECT_EQ(fw::FileVersionMajorMinor(test::ExeFolder() + L"\\LarkB.DEU"),
              fw::FileVersionMajorMinor(test::ExeFolder() + L"\\LarkB.exe"));
    EXPECT_NE(fw::FileVersionMajorMinor(test::ExeFolder() + L"\\LarkB.exe"), 0u);
}

} // namespace
