#pragma once
// The flat picture button of the bar: navigation, paging and the tab strip's scroll buttons.
// It draws the bar's button face and one picture, centred, from lists shared by every image
// button of the process, at the size that suits the button's width.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "views/push_button.h"

class CImageButton : public views::PushButton {
public:
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

    // The picture's size at the bar's resolution (16 at 96 DPI); 0 chooses it by the width.
    void SetPictureSize(int size);
    void SetChecked(bool checked);
    int NormalImage() const noexcept { return m_nImage; }
    int DisabledImage() const noexcept { return m_nDisabledImage; }

    // Face and picture for a state of views::ButtonState, drawn into `dc` over the client area.
    void Draw(HDC dc, int state, bool checked, bool disabled) const;

    // Where the picture goes in a button of the given client size: the list (32, 24 or 16:
    // the largest not above `picture`, or by the width when `picture` is 0) and the
    // picture's top-left corner.
    struct ImagePlace {
        int size;
        int x;
        int y;
    };
    static ImagePlace PlaceImage(int width, int height, bool pressed, int picture = 0) noexcept;
    // The shared list of pictures of `size` (32, 24 or 16) pixels.
    static HIMAGELIST SharedList(int size);

protected:
    void DrawFace(HDC dc, int state) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // Named by its tip; the paging buttons, which have none, by what they do.
    views::ButtonFacts AccessibleFacts() const override;

private:
    int32_t m_nImage = -1;
    int32_t m_nDisabledImage = -1;
    int m_nPicture = 0;
};
