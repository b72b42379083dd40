#pragma once
// The child window that fills the bar. It holds the bar's parts and routes its messages to
// them: the button strip and paging (button_strip.h), category navigation with the folder
// watcher (category_navigator.h), the editing commands with the clipboard (edit_commands.h),
// drag and drop (bar_drag_drop.h) and the keys (bar_keyboard.h). It opens the document it is
// handed when it is created, and hosts it: its timer and messages.
#include <cstdint>
#include <string>
#include <vector>

#include "document/tree_document.h"
#include "framework/com.h"
#include "framework/window.h"
#include "model/voice_book.h"
#include "views/bar_drag_drop.h"
#include "views/bar_host.h"
#include "views/bar_keyboard.h"
#include "views/button_strip.h"
#include "views/category_navigator.h"
#include "views/edit_commands.h"
#include "views/toolbar_layout.h"

struct Preferences;
namespace ui {
class AppServices;
} // namespace ui

class CProgramToolBar : public fw::Window, private views::BarHost, private document::TreeListener {
public:
    static constexpr UINT_PTR kSaveTimer = 100;
    static constexpr UINT kSaveTimerPeriodMs = 1000;
    static constexpr UINT_PTR kFolderReloadTimer = views::CategoryNavigator::kFolderReloadTimer;
    static constexpr UINT kFolderReloadDelayMs = views::CategoryNavigator::kFolderReloadDelayMs;

    CProgramToolBar();
    ~CProgramToolBar() override;

    // Before Create: the tree the bar shows and edits. Without one the bar stays empty.
    void SetDocument(document::TreeDocument* doc) noexcept { m_doc = doc; }
    document::TreeDocument* Document() const noexcept override { return m_doc; }
    // `prefs` is the main window's and is read as it changes (without it the defaults
    // apply); the metrics follow through SetMetrics.
    HWND Create(const RECT& rect, HWND parent, UINT id, const Preferences* prefs = nullptr,
                const views::ButtonMetrics& metrics = views::ButtonMetrics{});
    void SetMetrics(const views::ButtonMetrics& metrics) noexcept { m_strip.SetMetrics(metrics); }

    // The modification notice every edit of the tree ends with: the tree is written about
    // a minute later.
    void MarkModified() noexcept override {
        if (m_doc)
            m_doc->MarkModified();
    }
    // Before Create: the tooltip control and the buttons' tips wait for AddButtonTips (nobody
    // points at a button before the bar has shown), which makes the control and tells it those
    // of the buttons made so far.
    void DeferButtonTips() noexcept { m_strip.DeferButtonTips(); }
    void AddButtonTips() { m_strip.AddButtonTips(); }
    // The pictures that waited for the first paint are in: what shows is drawn again.
    void RedrawPictures() { m_strip.RedrawPictures(); }

    // ---- showing ----
    // Fills the program buttons with the category's content and lays the bar out.
    void ShowCategory(oVoiceBook* category, bool resetPaging) {
        m_nav.ShowCategory(category, resetPaging);
    }
    // Draws the shown buttons whose node changed, all through one device context of the bar
    // (the last step of a show).
    void DrawChangedButtons() { m_strip.DrawChangedButtons(); }
    // Shown buttons given another node are drawn by the next DrawChangedButtons.
    void FillProgramButtons(oVoiceBook* category) { m_nav.FillProgramButtons(category); }
    void LayoutBar(bool resetPaging) { m_strip.Layout(resetPaging); }
    // The category-view word changed: a new layout.
    void SetViewFlags(int32_t flags);
    // The main window's orientation, decided from its own shape: the bar and its tab strip
    // follow it whatever their own shapes (a near-square bar would otherwise lay out the grip
    // one way and the buttons the other). Horizontal until told.
    void SetVertical(bool vertical) { m_strip.SetVertical(vertical); }

    // ---- lookups ----
    // The node of the visible button under a screen point (program buttons first).
    oVoiceBook* ButtonNodeAt(POINT screen) const { return m_strip.ButtonNodeAt(screen); }
    // Where a dragged item lands: a button under the point, or the last button of the area
    // when the point lies beyond it.
    oVoiceBook* DropTargetAt(bool isButton, bool isSubCategory, POINT screen) const {
        return m_strip.DropTargetAt(isButton, isSubCategory, screen);
    }
    CBookButton* FindButtonWindow(const oVoiceBook* node) const {
        return m_strip.FindButtonWindow(node);
    }
    CBookButton* FirstButtonWindow(bool categoryArea) const {
        return m_strip.FirstButtonWindow(categoryArea);
    }
    // Number of category button slots that show a category.
    size_t CategoryCount() const noexcept { return m_strip.CategoryCount(); }
    const CTabViewWnd& Tabs() const noexcept { return m_strip.Tabs(); }
    oVoiceBook* CurrentCategory() const noexcept { return m_nav.Current(); }
    oVoiceBook* CurrentTopCategory() const noexcept { return m_nav.Top(); }
    int FirstVisible() const noexcept { return m_strip.FirstVisible(); }
    int VisibleCount() const noexcept { return m_strip.VisibleCount(); }

    // ---- drag and drop ----
    // Dropped paths or one web address become buttons at the point (or the first path is
    // opened with the program it is dropped on when `into`).
    void DropPaths(const std::vector<std::wstring>& paths, POINT screen, bool into) {
        m_dragDrop.DropPaths(paths, screen, into);
    }
    // A dropped shell item: the new button takes the absolute list over.
    void DropItemIdList(fw::Pidl list, POINT screen) {
        m_dragDrop.DropItemIdList(std::move(list), screen);
    }
    // The window that carries the drop mark now, or null.
    HWND DropMarkWindow() const noexcept { return m_dragDrop.DropMarkWindow(); }

    // ---- editing ----
    // The application's hold flag brackets every dialog and question of the editing
    // commands; without services they run unheld.
    void SetAppServices(ui::AppServices* app) noexcept { m_edit.SetAppServices(app); }
    // The cut or copied subtree (owned by the bar, never part of the tree).
    const oVoiceBook* Clipboard() const noexcept { return m_edit.Clipboard(); }
    // The Properties command for `node`, as its context menu gives it (the find box asks).
    void EditPropertiesOf(oVoiceBook* node) { m_edit.EditPropertiesOf(node); }

    // ---- keyboard ----
    // The bar was brought forward by keys from `previous` (the find box): the focus goes to
    // the page's first button, and Escape goes back there.
    void TakeKeyboardFocus(HWND previous) { m_keys.TakeFocus(previous); }
    // Export... and Import... of the bar menu.
    void ExportTree() { m_edit.ExportTree(); }
    void ImportTree() { m_edit.ImportTree(); }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    bool OnCreate(const CREATESTRUCTW& cs) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void OnLButtonDown(UINT keys, POINT client) override;
    void OnMouseWheel(UINT keys, short delta, POINT screen) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDrawItem(UINT id, DRAWITEMSTRUCT& item) override;
    void OnMeasureItem(UINT id, MEASUREITEMSTRUCT& item) override;
    LRESULT OnNotify(int id, NMHDR& hdr) override;
    void OnContextMenu(HWND window, POINT screen) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode(const MSG* msg) override;
    void OnSetFocus(HWND previous) override;

private:
    HWND BarWindow() const noexcept override { return hwnd_; }
    const Preferences* Prefs() const noexcept override { return m_prefs; }
    // Before nodes are deleted: whatever points at `subtree` (with `self`) or below it lets go.
    void NodesChanging(const oVoiceBook& subtree, bool self, Change change) override;
    // The data file held at start-up has been read: the bar shows the new tree.
    void TreeRead(bool replaced) override;
    void CategoryCompleted(oVoiceBook& category) override;

    document::TreeDocument* m_doc = nullptr;
    const Preferences* m_prefs = nullptr;
    views::ButtonStrip m_strip;
    views::CategoryNavigator m_nav;
    views::EditCommands m_edit;
    views::BarDragDrop m_dragDrop;
    views::BarKeyboard m_keys;
    bool m_bFirstPaint = false; // the bar has not painted since it was shown
};
