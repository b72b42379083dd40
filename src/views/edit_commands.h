#pragma once
// Editing on the program button bar: the context menus, adding, deleting, properties, the
// bar's private clipboard, refreshing a category, the category order, a category's flag and
// Export.../Import.... Every dialog and question runs under the application's hold flag, and
// nothing the bar remembers is left pointing at a node an edit deletes.
#include <windows.h>

#include <memory>

#include "model/voice_book.h"
#include "views/bar_host.h"
#include "views/button_strip.h"
#include "views/category_navigator.h"

namespace ui {
class AppServices;
} // namespace ui

namespace views {

class EditCommands {
public:
    EditCommands(BarHost& host, ButtonStrip& strip, CategoryNavigator& nav)
        : host_(host), strip_(strip), nav_(nav) {}
    EditCommands(const EditCommands&) = delete;
    EditCommands& operator=(const EditCommands&) = delete;

    // Without services the dialogs and questions run unheld.
    void SetAppServices(ui::AppServices* app) noexcept { app_ = app; }
    // The cut or copied subtree (owned here, never part of the tree).
    const oVoiceBook* Clipboard() const noexcept { return clipboard_.get(); }

    // The menu of the button under `screen` (or of the bar), and its command.
    void OnContextMenu(POINT screen);
    // The node the next command acts on (a tab's command names its category).
    void SetContextNode(oVoiceBook* node) noexcept { context_ = node; }
    // The editing commands; false for any other command.
    bool OnCommand(UINT id);
    // The Properties command for `node`, as its context menu gives it.
    void EditPropertiesOf(oVoiceBook* node);
    // Removes and deletes the node with its subtree, then shows what remains.
    void RemoveNode(oVoiceBook& node);
    void ExportTree();
    void ImportTree();
    // Lets go of the context node when `gone` says it is going.
    template <class Gone> void ForgetNodes(const Gone& gone) {
        if (gone(context_))
            context_ = nullptr;
    }

private:
    void Tell(UINT message);
    void AddButton();
    void AddSeparator();
    void AddCategory();
    void CopyContextNode(bool clearContext = true);
    void DeleteContextNode(bool ask);
    void Paste();
    void EditProperties();
    void RefreshCategory(oVoiceBook* category);
    void ChangeCategoryOrder();
    void SetCategoryFlag(bool set);

    BarHost& host_;
    ButtonStrip& strip_;
    CategoryNavigator& nav_;
    ui::AppServices* app_ = nullptr;
    oVoiceBook* context_ = nullptr;
    std::unique_ptr<oVoiceBook> clipboard_;
};

} // namespace views
