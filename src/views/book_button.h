#pragma once
// The one button window of the bar, for program buttons and category buttons: it shows a
// node (icon, name, menu glyph), tracks the pointer and reports clicks to its parent.
#include <windows.h>

#include <cstdint>
#include <string>

#include "views/push_button.h"

class oVoiceBook;
struct Preferences;

class CBookButton : public views::PushButton {
public:
    CBookButton();
    ~CBookButton() override;

    // `selector` bits 0 or 1 make a toggle button (category buttons). The bar makes its
    // buttons hidden and shows those its layout places: a window made visible costs the
    // window system more, and most of a large category's buttons never show.
    HWND Create(int selector, const RECT& rect, HWND parent, UINT id,
                const Preferences* prefs = nullptr, bool visible = true);

    void SetNode(oVoiceBook* node) noexcept;
    oVoiceBook* Node() const noexcept { return m_pNode; }
    void SetChecked(bool on);
    void SetMenuGlyph(bool on);
    void SetSingleRow(bool on) noexcept { m_bSingleRow = on ? 1 : 0; }
    // The resolution the face is arranged for.
    void SetDpi(int dpi) noexcept { m_nDpi = dpi; }

    // Draws the button now in `state`.
    void Draw(HDC dc, int state, bool checked, bool disabled);
    // Draws what its paint message draws into `dc`, whose origin is the button's corner.
    void PaintInto(HDC dc);

    oVoiceBook* m_pNode = nullptr;
    int32_t m_nRole = 0;
    int32_t m_bMenuGlyph = 0;
    int32_t m_bSingleRow = 0;
    int m_nDpi = 96;

protected:
    void DrawFace(HDC dc, int state) override;
    void OnLButtonDown(UINT keys, POINT client) override;
    void OnLButtonUp(UINT keys, POINT client) override;
    void OnMouseMove(UINT keys, POINT client) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    views::ButtonFacts AccessibleFacts() const override;

private:
    void UpdateDragCursor();
    // A held ordinary button is dragged: each move shows the drop mark, the release drops it.
    bool Dragging() const noexcept;
    void PostDragOver(POINT client);
    void PostDrop(POINT client);

    const Preferences* m_prefs = nullptr;
};
