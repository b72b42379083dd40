#pragma once
// The category tab strip: one sheet-style tab per top-level category, along the bar
// (text turned on a vertical bar), with two scroll buttons at its end. Clicking a tab sends
// the bar the same command as the category button; the category menu's commands go to the
// bar too.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/accessible.h"
#include "framework/window.h"
#include "ui/tooltip.h"
#include "views/image_button.h"
#include "views/tab_layout.h"

class oVoiceBook;
struct Preferences;

// Sent by the tab strip to the bar for a category command of its menu: wParam the tab index
// shifted left by 16 OR'd with the command, lParam the tab's category.
constexpr UINT WM_LARK_TAB_COMMAND = 0x8352;

// One tab: its category (not owned) and its rectangle in the last layout.
struct oTabInfo {
    oVoiceBook* pNode = nullptr;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    RECT Rect() const noexcept { return RECT{left, top, right, bottom}; }
};

class CTabViewWnd : public fw::Window {
public:
    static constexpr UINT_PTR kToolFirst = 100;
    // Posted to the strip itself to choose tab wParam as a click would.
    static constexpr UINT kChooseTabMessage = WM_APP + 0x360;

    CTabViewWnd();
    ~CTabViewWnd() override;

    // A hidden child window; the bar shows and sizes it. `prefs` is read as it changes.
    HWND Create(HWND parent, UINT id, const Preferences* prefs = nullptr);
    // The tabs' tips: made when asked for, since nothing can point at a tab before the bar
    // has painted (and a tip window costs as much as any top-level window).
    void CreateTips();
    // The category-view word: icons on tabs and the menu's check marks.
    void SetViewFlags(int32_t flags);
    // The bar's orientation, which the strip follows whatever its own shape.
    void SetVertical(bool vertical);
    // The insides' sizes at the bar's resolution; a change lays the tabs out again.
    void SetSizes(const views::TabSizes& sizes);
    // The height of the font the tabs' names are drawn in.
    int NameHeight() const;

    // Tabs added, set or cleared while a Batch lives are laid out once, when it ends: a
    // layout measures every tab, so one per added tab would cost the square of their count.
    class Batch {
    public:
        explicit Batch(CTabViewWnd& strip) noexcept : strip_(strip) { ++strip_.m_nBatch; }
        ~Batch() { strip_.EndBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        CTabViewWnd& strip_;
    };

    void Clear();
    void AddTab(oVoiceBook* category);
    void SetTab(int index, oVoiceBook* category);
    // Selects without telling the bar, and brings the tab into view.
    void Select(int index);
    void Refresh();
    // The laid-out tab under a screen point, or null.
    const oTabInfo* TabAtPoint(POINT screen) const;
    // A button dragged over the strip: the tab under the point is raised. With `clear` the
    // highlight goes (answer -1); otherwise the answer is 1.
    int DragFeedback(POINT screen, bool clear);

    int TabCount() const noexcept { return static_cast<int>(m_tabs.size()); }
    const oTabInfo& Tab(int index) const { return m_tabs.at(static_cast<size_t>(index)); }
    int FirstVisible() const noexcept { return m_nFirstVisible; }
    int VisibleCount() const noexcept { return m_nVisibleCount; }
    int Selected() const noexcept { return m_nSelected; }
    int ContextIndex() const noexcept { return m_nContext; }
    int HotIndex() const noexcept { return m_nHot; }
    bool IsVertical() const noexcept { return m_frame.vertical; }
    HWND ToolTipWindow() const noexcept { return m_toolTip.hwnd(); }
    const views::TabStripFrame& Frame() const noexcept { return m_frame; }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    bool OnCreate(const CREATESTRUCTW& cs) override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    bool OnEraseBackground(HDC dc) override;
    void OnMouseMove(UINT keys, POINT client) override;
    void OnMouseLeave() override;
    void OnCaptureChanged(HWND gaining) override;
    void OnLButtonDown(UINT keys, POINT client) override;
    void OnContextMenu(HWND window, POINT screen) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode(const MSG* msg) override;
    void OnSetFocus(HWND previous) override;
    void OnKillFocus(HWND next) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    LRESULT OnNotify(int id, NMHDR& hdr) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool Icons() const noexcept;
    std::vector<int> TextWidths() const;
    void LayOut();
    // Lays out and repaints now, or once the current batch ends.
    void Changed();
    void EndBatch();
    void BringIntoView(int index);
    void Scroll(int step);
    int IndexAt(POINT client) const;
    void SetHot(int index);
    void Repaint();
    void Paint(HDC dc, const RECT& client);
    void DrawTab(HDC dc, int index, bool raised);
    void RunMenuCommand(UINT command);
    // Selects tab `index` and tells the bar, as a click on it does.
    void ChooseTab(int index);
    // Tells assistive programs about the strip (a page tab list) and each tab (child index+1).
    void Describe(fw::AccessibleQuery& q);

    const Preferences* m_prefs = nullptr;
    int32_t m_nViewFlags = 0;
    std::vector<oTabInfo> m_tabs;
    int m_nFirstVisible = 0;
    int m_nVisibleCount = 0;
    int m_nSelected = -1;
    int m_nContext = -1;
    int m_nHot = -1;
    bool m_bTracking = false;
    int m_nTools = 0; // tooltip tools of the last layout
    bool m_bVertical = false;
    views::TabSizes m_sizes;
    bool m_bCanNext = false;
    bool m_bCanPrev = false;
    int m_nBatch = 0;
    bool m_bChangedInBatch = false;
    views::TabStripFrame m_frame;
    CImageButton m_btnPrevH, m_btnNextH, m_btnPrevV, m_btnNextV;
    ui::ToolTip m_toolTip;

    // The tab raised under a drag; one for the process, as only one drag runs at a time.
    static int s_nDragHighlight;
};
