#pragma once
// Drag and drop on the program button bar: buttons and categories dragged on the bar (the
// drop mark that follows the pointer, or the tab strip's raised tab, and the move, copy or
// removal when the button is released), and items dropped from other programs (files,
// shortcuts, Internet shortcuts, web addresses and shell items become buttons where they
// land, or a file is opened with the program it is dropped on).
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/com.h"
#include "model/voice_book.h"
#include "views/bar_host.h"
#include "views/button_strip.h"
#include "views/category_navigator.h"
#include "views/drop_rules.h"
#include "views/edit_commands.h"

namespace views {

class BarDragDrop {
public:
    BarDragDrop(BarHost& host, ButtonStrip& strip, CategoryNavigator& nav, EditCommands& edit)
        : host_(host), strip_(strip), nav_(nav), edit_(edit) {}
    BarDragDrop(const BarDragDrop&) = delete;
    BarDragDrop& operator=(const BarDragDrop&) = delete;

    // The drag messages of buttons and of the drop target; false for any other message.
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The window that carries the drop mark now, or null.
    HWND DropMarkWindow() const noexcept { return markWindow_; }

    // Dropped paths or one web address become buttons at the point (or the first path is
    // opened with the program it is dropped on when `into`).
    void DropPaths(const std::vector<std::wstring>& paths, POINT screen, bool into);
    // A dropped shell item: the new button takes the absolute list over.
    void DropItemIdList(fw::Pidl list, POINT screen);

private:
    // Draws the drop mark for the point; true when the drop would go into the target.
    bool DragOver(POINT screen, uint32_t flags);
    void EraseDropMark();
    void DropDragged(UINT msg, POINT screen, oVoiceBook* node);
    DropTargetFacts DropFacts(const oVoiceBook* target, POINT screen) const;
    // Brings the bar forward; false (after telling the user) when no category is shown.
    bool CanTakeDrop();
    void PlaceDropped(std::unique_ptr<oVoiceBook> node, oVoiceBook* target, Insertion where);
    // A top-level category that took items becomes the shown one; the bar is shown again.
    void ShowDropTarget(oVoiceBook* target);

    BarHost& host_;
    ButtonStrip& strip_;
    CategoryNavigator& nav_;
    EditCommands& edit_;
    HWND markWindow_ = nullptr;
    DropMark mark_;
};

} // namespace views
