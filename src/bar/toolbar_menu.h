#pragma once
// The ToolBar menu: the whole tree of categories and buttons as cascading submenus, opened
// from the hotkey and the tray icon. A submenu is filled when it is about to open, and its
// buttons are numbered then, after the buttons of the open menus it hangs from: only the
// items of open menus need distinct identifiers, so 12000-12999 serve a tree of any size.
// The numbers outlive the menu, so a command that arrives after the menu closed still finds
// its button, but only while that button is still in the tree.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/gdi.h"

class oVoiceBook;

namespace bar {

// What one entry of a submenu takes of the identifiers: a button one, a category one for its
// own submenu at least, a separator none.
enum class MenuEntry { Button, Separator, Category };

// The entries of one submenu as runs that fit `room` identifiers (at least 1): at most
// `room` buttons in a run, and at most room - 1 when it also holds a category, which keeps
// one for its own submenu. One run: the submenu lists its entries; more: it lists one submenu
// per run instead (only a category of more buttons than the range holds comes to that).
struct EntryRun {
    size_t begin = 0;
    size_t end = 0;
};
std::vector<EntryRun> SplitIntoRuns(const std::vector<MenuEntry>& entries, size_t room);

class ToolBarMenu {
public:
    // The top level of the tree below `root`; the numbering starts afresh.
    fw::Menu Build(oVoiceBook& root);
    // The menu has been destroyed: its submenus and pictures are forgotten (a new menu may
    // get the same handles); the numbers stay for a command still on its way.
    void Closed() noexcept;
    // A submenu about to open (WM_INITMENUPOPUP): filled the first time, its buttons numbered
    // (again) after those of the menus it hangs from. False when it is not one of this menu's.
    bool Open(HMENU menu, oVoiceBook& root);
    // The button behind a command: null outside the range, for a number no open menu gave,
    // when the node is no longer in the tree under `root` (deleted or reloaded since), or
    // when it is not a button.
    oVoiceBook* NodeForCommand(UINT id, oVoiceBook& root) const;
    // Identifiers in use by the menus opened last (the test hooks ask).
    size_t Numbered() const noexcept { return m_numberedEnd; }

    // The small pictures of the items, asked for by the menu while it shows: true when the
    // item is one of this menu's. A picture is made when its item is first drawn, or, while
    // pictures wait for idleness, the item shows its node's default picture until
    // MakeWaitingPictures has made its own.
    static bool MeasurePicture(MEASUREITEMSTRUCT& item);
    bool DrawPicture(const DRAWITEMSTRUCT& item, oVoiceBook& root);
    // Whether pictures not made yet wait for idleness (the menu's owner then makes them).
    void SetPicturesWaitForIdle(bool wait) noexcept { m_picturesWait = wait; }
    // Makes the waiting pictures, in the order their items were drawn, until `budgetMs` has
    // passed (one at least): true when it made any, and the items are to be drawn again.
    bool MakeWaitingPictures(oVoiceBook& root, double budgetMs);
    bool PicturesWaiting() const noexcept { return m_waitingDone < m_waiting.size(); }

private:
    // One submenu: a category's entries, or one run of them.
    struct Submenu {
        uint64_t category = 0; // serial number
        // The serial numbers of the categories from the root's child down to `category`: a
        // node of the menu is found among its parent's children, not in the whole tree.
        std::vector<uint64_t> path;
        bool wholeCategory = true;
        EntryRun run;
        size_t first = 0; // its first identifier, counted from the range's start
        bool filled = false;
        std::vector<uint64_t> buttons; // serial numbers, by identifier from `first`
    };
    void Fill(HMENU menu, Submenu& sub, oVoiceBook& root);
    HMENU AddSubmenu(HMENU menu, UINT position, const std::wstring& text, uint64_t picture,
                     const Submenu& parent, Submenu sub);
    ULONG_PTR PictureData(uint64_t serial, const Submenu& parent);

    std::unordered_map<HMENU, Submenu> m_submenus;
    // Nodes by their serial numbers: a deleted node's number is never found again, where its
    // address could be that of a newer node. `path` is that of the submenu the item is in.
    struct Picture {
        uint64_t serial = 0;
        const std::vector<uint64_t>* path = nullptr;
        bool waiting = false;
    };
    oVoiceBook* NodeOf(const Picture& picture, oVoiceBook& root) const;
    std::vector<Picture> m_pictures;
    bool m_picturesWait = false;
    std::vector<size_t> m_waiting; // entries of m_pictures, those before m_waitingDone made
    size_t m_waitingDone = 0;
    std::vector<uint64_t> m_numbered; // by identifier from the range's start
    size_t m_numberedEnd = 0;
};

// Tracks a menu at the cursor, aligned by its top-left corner, and returns the command
// chosen (0 for none); the submenus' messages reach `owner`.
UINT TrackAtCursor(HMENU menu, HWND owner);

} // namespace bar
