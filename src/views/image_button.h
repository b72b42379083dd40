#pragma once
// The flat picture button of the bar: navigation, paging and the tab strip's scroll buttons.
// It draws the bar's button face and one picture, centred, from lists shared by every image
// button of the process, at the size that suits the button's width.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "framework/window.h"
#include "views/pointer_tracker.h"

class CImageButton : public fw::Window {
public:
    // Timer that stands in for leave tracking while the mouse is captured.
    static constexpr UINT_PTR kLeaveTimer = 101;
    static constexpr UINT kLeaveTimerPeriodMs = 500;

    CImageButton();
    ~CImageButton() override = default;

    // A visible child window without a caption; bits 0 or 1 of `selector` make a toggle
    // button.
    HWND Create(int selector, const RECT& rect, HWND parent, UINT id);
    // Adds the icon resource `normal` at 32, 24 and 16 pixels to the shared lists, and
    // `disabled` (when above 0) likewise; without a disabled picture the normal one shows
    // when the window is disabled. `shared` loads the icons as shared ones.
    void SetIcons(UINT normal, bool normalShared = false, UINT disabled = 0,
                  bool disabledShared = false);

    bool IsChecked() const noexcept { return m_bChecked != 0; }
    void SetChecked(bool checked);
    int NormalImage() const noexcept { return m_nImage; }
    int32_t Hover() const noexcept { return m_track.Hover(); }
    int DisabledImage() const noexcept { return m_nDisabledImage; }

    // Face and picture for a state of views::ButtonState, drawn into `dc` over the client area.
    void Draw(HDC dc, int state, bool checked, bool disabled) const;

    // Where the picture goes in a button of the given client size: the list (by picture
    // size, 32, 24 or 16) and the picture's top-left corner.
    struct ImagePlace {
        int size;
        int x;
        int y;
    };
    static ImagePlace PlaceImage(int width, int height, bool pressed) noexcept;
    // The shared list of pictures of `size` (32, 24 or 16) pixels.
    static HIMAGELIST SharedList(int size);

protected:
    void OnPaint() override;
    bool OnEraseBackground(HDC dc) override;
    void OnLButtonDown(UINT keys, POINT client) override;
    void OnMouseMove(UINT keys, POINT client) override;
    void OnLButtonUp(UINT keys, POINT client) override;
    void OnMouseLeave() override;
    void OnTimer(UINT_PTR id) override;
    void OnCaptureChanged(HWND gaining) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Draws the face unless it is views::kSameFace.
    void DrawNow(int state);
    bool Contains(POINT client) const;

    int32_t m_bChecked = 0;
    int32_t m_bToggle = 0;
    int32_t m_nImage = -1;
    int32_t m_nDisabledImage = -1;
    views::PointerTracker m_track{kLeaveTimer, kLeaveTimerPeriodMs};
};
