#pragma once
// The windows of the program button bar and their layout: the program buttons with their
// paging, the category button slots, the navigation buttons, the grip strip, the line, the
// tab strip and the tooltip. It shows the nodes it is given; which nodes those are is the
// category navigation's.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "model/voice_book.h"
#include "ui/tooltip.h"
#include "views/bar_host.h"
#include "views/book_button.h"
#include "views/custom_button.h"
#include "views/image_button.h"
#include "views/tab_view_wnd.h"
#include "views/toolbar_layout.h"

namespace views {

class ButtonStrip {
public:
    explicit ButtonStrip(BarHost& host) : host_(host) {}
    ButtonStrip(const ButtonStrip&) = delete;
    ButtonStrip& operator=(const ButtonStrip&) = delete;

    // The child windows that are there from the start (buttons come with the categories).
    void Create();
    bool HasWindows() const noexcept { return nextV_.hwnd() != nullptr; }

    void SetMetrics(const ButtonMetrics& metrics) {
        metrics_ = metrics;
        tabs_.SetSizes(metrics.sizes.tab);
        for (CImageButton* b : {&selectCategory_, &parent_, &nextH_, &prevH_, &nextV_, &prevV_})
            b->SetPictureSize(metrics.sizes.arrow);
    }
    int32_t ViewFlags() const noexcept { return viewFlags_; }
    void SetViewFlags(int32_t flags);
    void SetVertical(bool vertical);
    bool Vertical() const noexcept { return vertical_; }

    // ---- program buttons and paging ----
    // The program buttons show `nodes`. Only the page shown has windows: a pool of them,
    // as large as the biggest page shown so far, is bound to the page's nodes by the layout.
    // Shown buttons given another node are drawn by the next DrawChangedButtons.
    void ShowProgramNodes(const std::vector<oVoiceBook*>& nodes);
    // The node of program button window `index` (its identifier's offset), or null.
    oVoiceBook* ProgramNode(size_t index) const noexcept;
    // The program buttons that show a node, paged away or not: those before the first gap.
    size_t ProgramCount() const noexcept;
    oVoiceBook* ProgramNodeAt(size_t position) const noexcept {
        return position < nodes_.size() ? nodes_[position] : nullptr;
    }
    // The shown window of program button `position`, or null when it is paged away.
    HWND ProgramWindowAt(size_t position) const noexcept;
    // The position of the program button a window shows, or -1.
    int ProgramPositionOf(HWND hwnd) const noexcept;
    // The program buttons on the page now.
    int ShownProgramCount() const noexcept;
    void EnableParent(bool enable);
    void Layout(bool resetPaging);
    void PageBy(int step);
    void OnMouseWheel(UINT keys, short delta);
    int FirstVisible() const noexcept { return firstVisible_; }
    int VisibleCount() const noexcept { return visibleCount_; }
    // The node of the program button scrolled out just before the first visible one.
    oVoiceBook* NodeBeforePage() const noexcept;

    // ---- drawing ----
    // Draws the shown buttons whose node changed, all through one device context of the bar.
    void DrawChangedButtons();
    // A shown button that keeps its node but looks different now: drawn by the next
    // DrawChangedButtons.
    void MarkChanged(HWND button) { changed_.push_back(button); }
    // Makes the pictures of the shown program buttons afresh.
    void RebuildProgramPictures();
    // Draws every shown button and the tabs again (their pictures came after the first paint).
    void RedrawPictures();
    // Where the program buttons would be, the text of the bar while it waits for its tree.
    void DrawWaitingNotice(HDC dc) const;

    // ---- category slots ----
    // Category button `index` shows `category` (null: nothing).
    void AssignCategorySlot(size_t index, oVoiceBook* category);
    // The slots from `index` on show nothing.
    void ClearCategorySlotsFrom(size_t index);
    // Number of category button slots that show a category.
    size_t CategoryCount() const noexcept;
    CBookButton& CategoryButton(size_t index) const { return *categoryButtons_[index]; }
    CTabViewWnd& Tabs() noexcept { return tabs_; }
    const CTabViewWnd& Tabs() const noexcept { return tabs_; }
    HWND SelectCategoryButton() const noexcept { return selectCategory_.hwnd(); }

    // Buttons that show a node `gone` says is going show nothing.
    void ForgetNodes(const std::function<bool(const oVoiceBook*)>& gone);
    void ClearProgramSlots();

    // ---- lookups ----
    // The node of the visible button under a screen point (program buttons first).
    oVoiceBook* ButtonNodeAt(POINT screen) const;
    // Where a dragged item lands: a button under the point, or the last button of the area
    // when the point lies beyond it.
    oVoiceBook* DropTargetAt(bool isButton, bool isSubCategory, POINT screen) const;
    CBookButton* FindButtonWindow(const oVoiceBook* node) const;
    CBookButton* FirstButtonWindow(bool categoryArea) const;
    // The category buttons keys move between: those shown.
    std::vector<CBookButton*> KeyboardCategoryButtons() const;
    bool ParentEnabled() const noexcept { return ::IsWindowEnabled(parent_.hwnd()) != FALSE; }
    bool OnTabStrip(POINT screen) const;

    // ---- tips ----
    void DeferButtonTips() noexcept { tipsDeferred_ = true; }
    void AddButtonTips();
    // The tooltip's question for a button's text; false for any other notice.
    bool OnNotify(NMHDR& hdr);
    void RelayTip(const MSG& msg);

private:
    void AssignProgramSlot(size_t index, oVoiceBook* node);
    // Window k of the pool shows node first + k for the `count` windows of the page.
    void BindPage(int first, int count);
    void AddButtonTip(HWND tool);
    // The tooltip control with the tips of the navigation buttons.
    void CreateTips();
    HWND Bar() const noexcept { return host_.BarWindow(); }

    BarHost& host_;
    ButtonMetrics metrics_;
    int32_t viewFlags_ = 0;
    bool vertical_ = false;
    int firstVisible_ = 0;
    int visibleCount_ = 0;

    CCustomButton nextStrip_;
    std::vector<oVoiceBook*> nodes_; // every program button of the category, in order
    std::vector<std::unique_ptr<CBookButton>> programButtons_; // the page's windows
    int pageWindows_ = 0; // windows of the pool bound to the page
    // Shown buttons given another node since the last drawing of changed buttons.
    std::vector<HWND> changed_;
    std::vector<std::unique_ptr<CBookButton>> categoryButtons_;
    CImageButton selectCategory_;
    CImageButton parent_;
    CImageButton nextH_, prevH_;
    CImageButton nextV_, prevV_;
    ui::ToolTip toolTip_;
    HWND separator_ = nullptr;
    CTabViewWnd tabs_;
    bool tipsDeferred_ = false; // DeferButtonTips until AddButtonTips
};

} // namespace views
