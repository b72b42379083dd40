#pragma once
// The child window that fills the bar: it holds the program buttons of the shown category,
// the category buttons, the navigation and paging buttons, the grip strip and the line
// between them, lays them out and turns clicks into launches or category changes. It reads
// the tree when it is created and owns the tree's save timing.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/com.h"
#include "framework/window.h"
#include "model/voice_book.h"
#include "setup/folder_watcher.h"
#include "ui/tooltip.h"
#include "views/book_button.h"
#include "views/custom_button.h"
#include "views/drop_rules.h"
#include "views/image_button.h"
#include "views/save_countdown.h"
#include "views/tab_view_wnd.h"
#include "views/toolbar_layout.h"

struct Preferences;
namespace ui {
class AppServices;
} // namespace ui
namespace model {
class DataFileWriter;
class HeldFileReader;
} // namespace model
namespace views {
struct StartupLoad;
}

// Posted by the data-file writer to the bar: wParam the save's ticket, lParam 1 when the
// file was replaced, 0 when the write failed.
constexpr UINT WM_LARK_SAVE_DONE = 0xA6C2;
// Posted by the bar to itself at start-up when the data file could not be read whole: the
// user is told once the bar is up.
constexpr UINT WM_LARK_LOAD_NOTICE = 0xA6C9;
// Posted by the reader of a data file that another program held at start-up, once it could
// read it (or found it gone).
constexpr UINT WM_LARK_HELD_FILE_READ = 0xA6CA;

class CProgramToolBar : public fw::Window {
public:
    static constexpr UINT_PTR kSaveTimer = 100;
    static constexpr UINT kSaveTimerPeriodMs = 1000;

    CProgramToolBar();
    ~CProgramToolBar() override;

    // `prefs` is the main window's and is read as it changes (without it the defaults
    // apply); the metrics follow through SetMetrics.
    HWND Create(const RECT& rect, HWND parent, UINT id, const Preferences* prefs = nullptr,
                const views::ButtonMetrics& metrics = views::ButtonMetrics{});
    void SetMetrics(const views::ButtonMetrics& metrics) noexcept { m_metrics = metrics; }

    // The modification notice every edit of the tree ends with: the tree is written about
    // a minute later.
    void MarkModified() noexcept { m_nSaveCountdown.MarkModified(); }
    // How long the end of a session waits for the writer thread before it writes the tree
    // itself: the system does not wait long for a program to end.
    static constexpr DWORD kSessionEndWaitMs = 3000;

    // At exit and at the end of a session: waits up to `maxWaitMs` for a save still being
    // written, then writes the tree here when a change is pending, that save failed or it
    // did not finish in time. When it returns, the newest tree is in the file (or the change
    // is still pending after a failure).
    void SaveIfPending(DWORD maxWaitMs = kExitWaitMs);
    bool IsSavePending() const noexcept { return m_nSaveCountdown.IsPending(); }
    // A save handed to the writer whose outcome has not come back yet.
    bool IsSaveUnderWay() const noexcept;
    // The tree was built by the first run when the bar was created.
    bool StartedWithFirstRun() const noexcept { return m_bFirstRun; }
    // Another program held the data file at start-up: the bar is empty, says so, and reads
    // the file the moment it is let go.
    bool IsWaitingForDataFile() const noexcept { return static_cast<bool>(m_heldReader); }
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
    static constexpr DWORD kExitWaitMs = 15000;

    // The writer thread of the countdown's saves (a test's may be held at a known point).
    virtual std::unique_ptr<model::DataFileWriter> MakeWriter();

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
    void ForgetNodes(const oVoiceBook& subtree, bool self);
    // Removes and deletes the node with its subtree, then shows what remains.
    void RemoveNode(oVoiceBook& node);
    // The shown category again, or the start-up category when it has gone.
    void ShowAfterEdit();
    ui::AppServices* m_app = nullptr;

    // Counts the times nodes were deleted: a menu built before a change names nothing.
    uint32_t m_nTreeChanges = 0;
    HWND Owner() const noexcept;

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

    // Makes `category` the shown one: the root records it, and the countdown restarts so
    // that the record reaches the data file.
    void NoteCategoryShown(oVoiceBook& category);
    // The countdown's save: the image of the tree is built here (with the wait cursor) and
    // written by the writer thread, which reports back with WM_LARK_SAVE_DONE.
    void StartSave();
    // Writes the tree here and now; a failed save stays pending.
    void SaveNow();
    void SaveDone(uint32_t ticket, bool replaced);
    // Reads the tree (with the wait cursor) and keeps what there is to tell about it.
    void LoadTree();
    // Keeps what a reading gave (the start category is shown by the caller, once the views
    // are there, unless the user's tree stays) and posts its notice.
    void TakeLoad(const views::StartupLoad& load);
    void ShowLoadNotice();
    // The data file held at start-up has been read in the background.
    void LoadHeldFile();
    void DrawWaitingNotice(HDC dc) const;

    SaveCountdown m_nSaveCountdown;
    std::unique_ptr<model::DataFileWriter> m_writer;
    std::unique_ptr<model::HeldFileReader> m_heldReader; // while waiting for the data file
    uint32_t m_nSaveTicket = 0;                          // the last save handed to the writer
    uint32_t m_nReportedTicket = 0;                      // the last one whose outcome came back
    // Saves handed over up to this ticket are covered by a newer tree known to be in the
    // file: their outcome no longer matters.
    uint32_t m_nSupersededTicket = 0;
    std::wstring m_strLoadNotice; // shown once after start-up; empty when there is none
    bool m_bFirstRun = false;     // the tree was built by the first-run set-up
    bool m_bTipsDeferred = false; // DeferButtonTips until AddButtonTips
    bool m_bFirstPaint = false;   // the bar has not painted since it was shown
};
