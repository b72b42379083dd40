#include "views/image_button.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "framework/gdi.h"
#include "framework/resources.h"
#include "ui/picture_cache.h"
#include "resource.h"
#include "views/button_face.h"
#include "views/toolbar_ids.h"

namespace {
constexpr wchar_t kClassName[] = L"LarkImageButton";

struct SharedLists {
    SharedLists() {
        for (int i = 0; i < 3; ++i)
            lists[i].reset(
                ::ImageList_Create(kSizes[i], kSizes[i], ILC_COLOR32 | ILC_MASK, 50, 50));
    }
    static constexpr int kSizes[3] = {32, 24, 16};
    fw::ImageList lists[3];
    // The icon of each place, read at a size when a button first draws it at that size:
    // a bar uses one size, and hidden buttons need none.
    struct Source {
        HMODULE module; // the language's resources the icon was asked from
        UINT id;
        bool shared;
        bool loaded[3];
        bool drawn[3]; // the icon could be read at that size
    };
    std::vector<Source> sources;
    // Drawn from a kept copy: a place's icon is read once and never replaced.
    icons::PictureCache drawn;
};

SharedLists& Lists() {
    static SharedLists lists;
    return lists;
}

HICON LoadIconAt(UINT id, int size, bool shared) {
    const UINT flags = shared ? LR_SHARED : 0;
    HANDLE icon =
        ::LoadImageW(fw::ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, flags);
    if (!icon && fw::ResourceModule() != fw::ProgramModule())
        icon =
            ::LoadImageW(fw::ProgramModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, flags);
    return static_cast<HICON>(icon);
}

int SizeIndex(int size) {
    return size >= 32 ? 0 : size >= 24 ? 1 : 2;
}

// The place of an icon; the same icon keeps one place however many buttons show it. The
// lists grow when a place is first drawn: growing a list copies all of it.
int AddIcon(UINT id, bool shared) {
    SharedLists& l = Lists();
    for (size_t i = 0; i < l.sources.size(); ++i)
        if (l.sources[i].module == fw::ResourceModule() && l.sources[i].id == id &&
            l.sources[i].shared == shared)
            return static_cast<int>(i);
    l.sources.push_back(SharedLists::Source{fw::ResourceModule(), id, shared, {}, {}});
    return static_cast<int>(l.sources.size()) - 1;
}

// Reads the icon of `index` at the list's size, once; whether the place holds it.
bool LoadPlace(int i, int index) {
    SharedLists& l = Lists();
    if (index < 0 || static_cast<size_t>(index) >= l.sources.size())
        return false;
    SharedLists::Source& source = l.sources[static_cast<size_t>(index)];
    if (!source.loaded[i]) {
        HIMAGELIST list = l.lists[i].get();
        const UINT count = static_cast<UINT>(l.sources.size());
        if (!list || (::ImageList_GetImageCount(list) < static_cast<int>(count) &&
                      !::ImageList_SetImageCount(list, count)))
            return false;
        source.loaded[i] = true;
        HICON icon = LoadIconAt(source.id, SharedLists::kSizes[i], source.shared);
        source.drawn[i] = icon && ::ImageList_ReplaceIcon(l.lists[i].get(), index, icon) >= 0;
        if (icon && !source.shared)
            ::DestroyIcon(icon);
    }
    return source.drawn[i];
}
} // namespace

CImageButton::CImageButton() {
    Lists();
}

HWND CImageButton::Create(int selector, const RECT& rect, HWND parent, UINT id) {
    return CreateButton(kClassName, selector, WS_VISIBLE, rect, parent, id);
}

void CImageButton::SetIcons(UINT normal, bool normalShared, UINT disabled, bool disabledShared) {
    m_nImage = AddIcon(normal, normalShared);
    m_nDisabledImage = disabled > 0 ? AddIcon(disabled, disabledShared) : m_nImage;
    if (hwnd_)
        ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void CImageButton::SetChecked(bool checked) {
    if (!m_bToggle || m_bChecked == static_cast<int32_t>(checked))
        return;
    m_bChecked = checked;
    if (hwnd_) {
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        ::UpdateWindow(hwnd_);
    }
}

HIMAGELIST CImageButton::SharedList(int size) {
    // Whoever takes a list may draw any place of it.
    const int i = SizeIndex(size);
    for (size_t index = 0; index < Lists().sources.size(); ++index)
        LoadPlace(i, static_cast<int>(index));
    return Lists().lists[i].get();
}

void CImageButton::SetPictureSize(int size) {
    if (m_nPicture == size)
        return;
    m_nPicture = size;
    if (hwnd_)
        ::InvalidateRect(hwnd_, nullptr, FALSE);
}

CImageButton::ImagePlace CImageButton::PlaceImage(int width, int height, bool pressed,
                                                  int picture) noexcept {
    ImagePlace place{};
    if (picture > 0)
        place.size = picture >= 32 ? 32 : picture >= 24 ? 24 : 16;
    else
        place.size = width >= 40 ? 32 : width < 32 ? 16 : 24;
    place.x = std::max(0, (width - place.size) / 2);
    place.y = std::max(0, (height - place.size) / 2);
    if (width >= 56)
        place.y += 4;
    if (pressed) {
        ++place.x;
        ++place.y;
    }
    return place;
}

void CImageButton::Draw(HDC dc, int state, bool checked, bool disabled) const {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    // A themed face is drawn over what the parent paints behind it; a parent that paints
    // nothing there must not leave the screen's old content (or black) around the picture.
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    views::DrawButtonFace(hwnd_, dc, client, state, checked);
    const int image = disabled ? m_nDisabledImage : m_nImage;
    if (image < 0)
        return;
    const ImagePlace place =
        PlaceImage(client.right, client.bottom, state == views::kStatePressed, m_nPicture);
    const int i = SizeIndex(place.size);
    if (LoadPlace(i, image))
        Lists().drawn.Draw(Lists().lists[i].get(), i, image, place.size, CLR_NONE, dc, place.x,
                           place.y);
}

void CImageButton::DrawFace(HDC dc, int state) {
    Draw(dc, state, m_bChecked != 0, !::IsWindowEnabled(hwnd_));
}

views::ButtonFacts CImageButton::AccessibleFacts() const {
    views::ButtonFacts facts = views::PushButton::AccessibleFacts();
    if (!facts.name.empty())
        return facts;
    const int id = ::GetDlgCtrlID(hwnd_);
    if (id == views::ID_PAGE_NEXT)
        facts.name = fw::LoadResString(IDS_NEXT_PAGE);
    else if (id == views::ID_PAGE_PREV)
        facts.name = fw::LoadResString(IDS_PREV_PAGE);
    return facts;
}

LRESULT CImageButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ENABLE:
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    default:
        return views::PushButton::OnMessage(msg, wp, lp);
    }
}
