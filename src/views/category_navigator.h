#pragma once
// Category navigation on the program button bar: which category is shown and which top-level
// category is selected, going up and on to the next one, the category buttons and tabs, the
// category-only view's content menus, clicks on program buttons and the watch of a category
// linked to a shell folder with its reload.
#include <windows.h>

#include "model/voice_book.h"
#include "setup/folder_watcher.h"
#include "views/bar_host.h"
#include "views/button_strip.h"

namespace views {

class CategoryNavigator {
public:
    static constexpr UINT_PTR kFolderReloadTimer = 300;
    static constexpr UINT kFolderReloadDelayMs = 3000;

    CategoryNavigator(BarHost& host, ButtonStrip& strip) : host_(host), strip_(strip) {}
    CategoryNavigator(const CategoryNavigator&) = delete;
    CategoryNavigator& operator=(const CategoryNavigator&) = delete;

    // Before the first show: the name of the "Go Up" button.
    void Create();
    // The category the bar starts with (after the tree is read, and when the shown one went).
    void ShowStartCategory();
    // Fills the program buttons with the category's content and lays the bar out.
    void ShowCategory(oVoiceBook* category, bool resetPaging);
    // Shown buttons given another node are drawn by the next DrawChangedButtons.
    void FillProgramButtons(oVoiceBook* category);
    // Rebuilds the category buttons and the tabs from the top level of the tree.
    void FillCategoryButtons();
    // The checked category button and the selected tab follow the selected top-level category.
    void UpdateCategoryChecks();
    // `category` becomes the selected top-level category (and the watched one).
    void SelectTop(oVoiceBook* category);
    // `category` becomes the selected top-level category, not watched.
    void SetTop(oVoiceBook* category) noexcept { top_ = category; }
    // The category buttons again, `category` selected and shown.
    void ShowNewTopCategory(oVoiceBook* category);
    // The shown category again, or the start-up category when it has gone.
    void ShowAfterEdit();

    // Program buttons, category buttons and menus, going up, the grip strip; false for any
    // other command.
    bool OnCommand(UINT id);
    // The category a tab's command names, when it still is the one in that slot.
    oVoiceBook* TabCommandNode(size_t index, LPARAM node) const;
    bool OnTimer(UINT_PTR id);
    // The watched folder of the category with serial `serial` changed.
    void OnFolderChanged(LPARAM serial);
    // Empties a category linked to a shell folder and fills it again. Nothing the bar shows
    // or remembers is left pointing at the deleted nodes.
    void ReloadShellCategory(oVoiceBook& category);
    // Lets go of the categories `gone` says are going.
    template <class Gone> void ForgetNodes(const Gone& gone) {
        if (gone(current_))
            current_ = nullptr;
        if (gone(top_))
            top_ = nullptr;
    }
    void StopWatching() noexcept { watcher_.Stop(); }

    oVoiceBook* Current() const noexcept { return current_; }
    oVoiceBook* Top() const noexcept { return top_; }

private:
    void WatchCategory(oVoiceBook* category);
    void OnProgramButton(size_t index);
    void GotoParentCategory();
    void ShowNextTopCategory();
    void SelectTopCategory(size_t index);
    void ShowSelectCategoryMenu();
    void DropCategoryContent(size_t index);

    BarHost& host_;
    ButtonStrip& strip_;
    oVoiceBook* current_ = nullptr;
    oVoiceBook* top_ = nullptr;
    oVoiceBook goUp_;
    setup::FolderWatcher watcher_;
};

} // namespace views
