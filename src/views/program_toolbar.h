#pragma once
// The child window that fills the bar: it holds the program buttons of the shown category,
// the category buttons, the navigation and paging buttons, the grip strip and the line
// between them, lays them out and turns clicks into launches or category changes. It opens
// the document it is handed when it is created, and hosts it: its timer and messages.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/tree_document.h"
#include "framework/com.h"
#include "framework/window.h"
#include "model/voice_book.h"
#include "setup/folder_watcher.h"
#include "ui/tooltip.h"
#include "views/book_button.h"
#include "views/custom_button.h"
#include "views/drop_rules.h"
#include "views/image_button.h"
#include "views/tab_view_wnd.h"
#include "views/toolbar_layout.h"

struct Preferences;
namespace ui {
class AppServices;
} // namespace ui

class CProgramToolBar : public fw::Window, private document::TreeListener {
public:
    static constexpr UINT_PTR kSaveTimer = 100;
    static constexpr UINT kSaveTimerPeriodMs = 1000;

    CProgramToolBar();
    ~CProgramToolBar() override;

    // Before Create: the tree the bar shows and edits. Without one the bar stays empty.
    void SetDocument(document::TreeDocument* doc) noexcept { m_doc = doc; }
    document::TreeDocument* Document() const noexcept { return m_doc; }
    // `prefs` is the main window's and is read as it changes (without it the defaults
    // apply); the metrics follow through SetMetrics.
    HWND Create(const RECT& rect, HWND parent, UINT id, const Preferences* prefs = nullptr,
                const views::ButtonMetrics& metrics = views::ButtonMetrics{});
    void SetMetrics(const views::ButtonMetrics& metrics) noexcept { m_metrics = metrics; }

    // The modification notice every edit of the tree ends with: the tree is written about
    // a minute later.
    void MarkModified() noexcept {
        if (m_doc)
            m_doc->MarkModified();
    }
    // Before Create: the buttons' tips wait for AddButtonTips (nobody points at a button
    // before the bar has shown), which tells those of the buttons made so far.
    void DeferButtonTips() noexcept { m_bTipsDeferred = true; }
    void AddButtonTips();

    // ---- the views (program_toolbar_view.cpp) ----
    static constexpr UINT_PTR kFolderReloadTimer = 300;
    static constexpr UINT kFolderReloadDelayMs = 3000;

    // Fills the program buttons with the category's content and lays the bar out.
    void ShowCategory(oVoiceBook* category, bool resetPaging);
    // Draws the shown buttons whose node changed, all through one device context of the bar
    // (the last step of a show).
    void DrawChangedButtons();
    // Shown buttons given another node are drawn by the next DrawChangedButtons.
    void FillProgramButtons(oVoiceBook* category);
    void LayoutBar(bool resetPaging);
    // The category-view word changed: a new layout.
    void SetViewFlags(int32_t flags);
    // The main window's orientation, decided from its own shape: the bar and its tab strip
    // follow it whatever their own shapes (a near-square bar would otherwise lay out the grip
    // one way and the buttons the other). Horizontal until told.
    void SetVertical(bool vertical);
    // The node of the visible button under a screen point (program buttons first).
    oVoiceBook* ButtonNodeAt(POINT screen) const;
    // The Properties command for `node`, as its context menu gives it (the find box asks).
    void EditPropertiesOf(oVoiceBook* node) {
        m_pContextNode = node;
        EditProperties();
        m_pContextNode = nullptr;
    }
    // Where a dragged item lands: a button under the point, or the last button of the area
    // when the point lies beyond it.
    oVoiceBook* DropTargetAt(bool isButton, bool isSubCategory, POINT screen) const;
    CBookButton* FindButtonWindow(const oVoiceBook* node) const;
    CBookButton* FirstButtonWindow(bool categoryArea) const;

    // ---- drops from other programs (program_toolbar_drop.cpp) ----
    // Dropped paths or one web address become buttons at the point (or the first path is
    // opened with the program it is dropped on when `into`).
    void DropPaths(const std::vector<std::wstring>& paths, POINT screen, bool into);
    // A dropped shell item: the new button takes the absolute list over.
    void DropItemIdList(fw::Pidl list, POINT screen);

    // ---- buttons dragged on the bar (program_toolbar_drag.cpp) ----
    // The window that carries the drop mark now, or null.
    HWND DropMarkWindow() const noexcept { return m_hMarkWindow; }

    // ---- categories (program_toolbar_categories.cpp) ----
    // Rebuilds the category buttons and the tabs from the top level of the tree.
    void FillCategoryButtons();
    // The checked category button and the selected tab follow the selected top-level category.
    void UpdateCategoryChecks();
    // Number of category button slots that show a category.
    size_t CategoryCount() const noexcept;
    const CTabViewWnd& Tabs() const noexcept { return m_wndTabs; }

    // Export... and Import... of the bar menu (program_toolbar_backup.cpp).
    void ExportTree();
    void ImportTree();

    // ---- editing (program_toolbar_edit.cpp) ----
    // The application's hold flag brackets every dialog and question of the editing
    // commands; without services they run unheld.
    void SetAppServices(ui::AppServices* app) noexcept { m_app = app; }
    // The cut or copied subtree (owned by the bar, never part of the tree).
    const oVoiceBook* Clipboard() const noexcept { return m_pClipboard.get(); }

    oVoiceBook* CurrentCategory() const noexcept { return m_pCurrentCategory; }
    oVoiceBook* CurrentTopCategory() const noexcept { return m_pCurrentTopCategory; }
    int FirstVisible() const noexcept { return m_nFirstVisible; }
    int VisibleCount() const noexcept { return m_nVisibleCount; }

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

private:
    // ---- the views (program_toolbar_view.cpp) ----
    // Creation steps after the tree is read: child windows, tooltips, the category shown.
    void CreateViews();
    void ShowStartCategory();
    void OnViewTimer(UINT_PTR id);
    bool OnViewMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnProgramButton(size_t index);
    void GotoParentCategory();
    void ShowNextTopCategory();
    void PageBy(int step);
    void WatchCategory(oVoiceBook* category);
    void AssignProgramSlot(size_t index, oVoiceBook* node);

    void AddButtonTip(HWND tool);

    // ---- drops from other programs (program_toolbar_drop.cpp) ----
    bool OnTabStrip(POINT screen) const;
    views::DropTargetFacts DropFacts(const oVoiceBook* target, POINT screen) const;
    // Brings the bar forward; false (after telling the user) when no category is shown.
    bool CanTakeDrop();
    void PlaceDropped(std::unique_ptr<oVoiceBook> node, oVoiceBook* target, views::Insertion where);
    // A top-level category that took items becomes the shown one; the bar is shown again.
    void ShowDropTarget(oVoiceBook* target);

    // ---- buttons dragged on the bar (program_toolbar_drag.cpp) ----
    // The drag messages of buttons and of the drop target; false for any other message.
    bool OnDragMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Draws the drop mark for the point; true when the drop would go into the target.
    bool DragOver(POINT screen, uint32_t flags);
    void EraseDropMark();
    void DropDragged(UINT msg, POINT screen, oVoiceBook* node);
    HWND m_hMarkWindow = nullptr;
    views::DropMark m_mark;

    // ---- categories (program_toolbar_categories.cpp) ----
    // The commands of the category buttons, menus and tabs; false for any other command.
    bool OnCategoryCommand(UINT id);
    LRESULT OnTabCommand(WPARAM wp, LPARAM lp);
    void AssignCategorySlot(size_t index, oVoiceBook* category);
    void SelectTopCategory(size_t index);
    void ShowSelectCategoryMenu();
    void DropCategoryContent(size_t index);
    // Empties a category linked to a shell folder and fills it again. Nothing the bar shows
    // or remembers is left pointing at the deleted nodes.
    void ReloadShellCategory(oVoiceBook& category);
    // ---- editing (program_toolbar_edit.cpp) ----
    // The editing commands; false for any other command.
    bool OnEditCommand(UINT id);
    void Tell(UINT message);
    void AddButton();
    void AddCategory();
    void CopyContextNode(bool clearContext = true);
    void DeleteContextNode(bool ask);
    void Paste();
    void EditProperties();
    void RefreshCategory(oVoiceBook* category);
    void ChangeCategoryOrder();
    // Before nodes are deleted: whatever points at `subtree` (with `self`) or below it lets go.
    void NodesChanging(const oVoiceBook& subtree, bool self, Change change) override;
    // The data file held at start-up has been read: the bar shows the new tree.
    void TreeRead(bool replaced) override;
    // Removes and deletes the node with its subtree, then shows what remains.
    void RemoveNode(oVoiceBook& node);
    // The shown category again, or the start-up category when it has gone.
    void ShowAfterEdit();
    ui::AppServices* m_app = nullptr;

    HWND Owner() const noexcept;

    document::TreeDocument* m_doc = nullptr;
    const Preferences* m_prefs = nullptr;
    views::ButtonMetrics m_metrics;
    int32_t m_nViewFlags = 0;
    bool m_bVertical = false;

    oVoiceBook* m_pContextNode = nullptr;
    std::unique_ptr<oVoiceBook> m_pClipboard;
    oVoiceBook* m_pCurrentCategory = nullptr;
    oVoiceBook* m_pCurrentTopCategory = nullptr;
    std::wstring m_strCurrentName;
    int m_nFirstVisible = 0;
    int m_nVisibleCount = 0;
    CCustomButton m_wndNextStrip;
    std::vector<std::unique_ptr<CBookButton>> m_arrButtons;
    // Shown buttons given another node since the last drawing of changed buttons.
    std::vector<HWND> m_changedButtons;
    std::vector<std::unique_ptr<CBookButton>> m_arrCategoryButtons;
    CImageButton m_btnSelectCategory;
    CImageButton m_btnParent;
    CImageButton m_btnNextH, m_btnPrevH;
    CImageButton m_btnNextV, m_btnPrevV;
    ui::ToolTip m_wndToolTip;
    HWND m_wndSeparator = nullptr;
    oVoiceBook m_goUp;
    CTabViewWnd m_wndTabs;
    setup::FolderWatcher m_watcher;

    // Makes `category` the shown one: the document records it.
    void NoteCategoryShown(oVoiceBook& category);
    void DrawWaitingNotice(HDC dc) const;

    bool m_bTipsDeferred = false; // DeferButtonTips until AddButtonTips
    bool m_bFirstPaint = false;   // the bar has not painted since it was shown
};
