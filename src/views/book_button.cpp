#include "views/book_button.h"

#include <algorithm>

#include "framework/gdi.h"
#include "ui/dpi_fonts.h"
#include "ui/image_lists.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "views/button_face.h"
#include "views/button_layout.h"
#include "views/contrast.h"
#include "views/drop_rules.h"
#include "resource.h"

namespace {

constexpr wchar_t kClassName[] = L"LarkBookButton";
constexpr int kMenuGlyphIcon = 366;

// The three drag cursors, loaded once per process from the program's resources; the arrow
// stands in for one that is missing.
struct DragCursors {
    HCURSOR move, copy, remove;
};
const DragCursors& Cursors() {
    static const DragCursors cursors = [] {
        HINSTANCE module = ::GetModuleHandleW(nullptr);
        HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
        const auto load = [&](int id) {
            HCURSOR c = ::LoadCursorW(module, MAKEINTRESOURCEW(id));
            return c ? c : arrow;
        };
        return DragCursors{load(IDC_DRAG_MOVE), load(IDC_DRAG_COPY), load(IDC_DRAG_REMOVE)};
    }();
    return cursors;
}

// The glyph read at the size it is drawn (the icon holds 16, 24 and 32), once per size.
HICON MenuGlyph(int size) {
    static fw::Icon icons[3];
    const int i = size >= 32 ? 2 : size >= 24 ? 1 : 0;
    if (!icons[i]) {
        const int at = 16 + 8 * i;
        icons[i].reset(static_cast<HICON>(::LoadImageW(
            ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMenuGlyphIcon), IMAGE_ICON, at, at, 0)));
    }
    return icons[i].get();
}

// A groove: shadow on the top and left, highlight on the bottom and right.
void DrawGroove(HDC dc, const RECT& r) {
    const auto fill = [dc](RECT part, int colour) {
        ::FillRect(dc, &part, ::GetSysColorBrush(colour));
    };
    fill(RECT{r.left, r.top, r.right - 1, r.top + 1}, COLOR_BTNSHADOW);
    fill(RECT{r.left, r.top, r.left + 1, r.bottom - 1}, COLOR_BTNSHADOW);
    fill(RECT{r.right - 1, r.top, r.right, r.bottom}, COLOR_BTNHIGHLIGHT);
    fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, COLOR_BTNHIGHLIGHT);
}

bool CtrlHeld() {
    return (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

WPARAM PackScreenPoint(POINT p) noexcept {
    return static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(p.x, p.y)));
}

} // namespace

CBookButton::CBookButton() {
    Cursors();
}

CBookButton::~CBookButton() = default;

HWND CBookButton::Create(int selector, const RECT& rect, HWND parent, UINT id,
                         const Preferences* prefs, bool visible) {
    m_prefs = prefs;
    return CreateButton(kClassName, selector, visible ? WS_VISIBLE : 0, rect, parent, id);
}

void CBookButton::SetNode(oVoiceBook* node) noexcept {
    m_pNode = node;
    if (node)
        m_nRole = node->m_nRole;
}

void CBookButton::SetChecked(bool on) {
    if (!m_bToggle || (m_bChecked != 0) == on)
        return;
    m_bChecked = on ? 1 : 0;
    if (hwnd_) {
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        ::UpdateWindow(hwnd_);
    }
}

void CBookButton::SetMenuGlyph(bool on) {
    m_bMenuGlyph = on ? 1 : 0;
    if (hwnd_)
        ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void CBookButton::Draw(HDC dc, int state, bool checked, bool disabled) {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int w = client.right;
    const int h = client.bottom;
    if (m_nRole == ROLE_SEPARATOR) {
        // No face: a 2-pixel groove across the long side.
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        RECT line = w > h ? RECT{0, h / 2 - 1, w, h / 2 + 1} : RECT{w / 2 - 1, 0, w / 2 + 1, h};
        DrawGroove(dc, line);
        return;
    }
    // Its parent, the program bar, is painted by its class brush alone.
    views::DrawButtonFace(hwnd_, dc, client, state, checked, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!m_pNode)
        return;

    const bool pressed = state == views::kStatePressed;
    const bool glyph = m_bMenuGlyph != 0;
    views::ButtonFace face = views::LayOutButtonFace(w, h, glyph, pressed, m_nDpi);
    const bool iconMono = m_prefs && m_prefs->IconMono != 0;
    const bool grey = state == views::kStateNormal;

    int textRight = face.text.right;
    views::ButtonText text;
    fw::SelectObjectScope selectFont(dc, ui::GuiFont(m_nDpi));
    if (face.hasText) {
        text = views::MeasureButtonText(dc, m_pNode->m_strName.c_str(), face.text,
                                        face.faceClass == views::FACE_ICON_ABOVE_TEXT);
        textRight = text.measuredRight;
        if (m_bSingleRow) {
            // A single row of category buttons centres the icon and the name together.
            const int d = views::SingleRowOffset(
                face.faceClass, w, text.measuredRight - text.rect.left, glyph, m_nDpi);
            if (d >= 0) {
                const int iconRoom = views::SingleRowIconRoom(face.faceClass, m_nDpi);
                const int shift = (pressed ? 1 : 0);
                face.icon.x = d + shift;
                const int width = text.measuredRight - text.rect.left;
                text.rect.left = iconRoom + d + shift;
                text.rect.right = std::max<LONG>(text.rect.right, text.rect.left + width);
                textRight = text.rect.left + width;
            }
        }
    }

    icons::GetImage(*m_pNode);
    // A picture of another size than the face's (the lists are made for the screen's
    // resolution, the bar may be on another monitor) is centred where the icon goes.
    const auto centred = [&](int pictureSize) { return (face.iconSize - pictureSize) / 2; };
    switch (face.faceClass) {
    case views::FACE_SMALL_ICON:
    case views::FACE_SMALL_ICON_TEXT: {
        const int d = centred(icons::SmallPictureSize());
        icons::DrawSmall(*m_pNode, dc, face.icon.x + d, face.icon.y + d, disabled, grey, iconMono);
        break;
    }
    case views::FACE_MEDIUM_ICON:
        icons::DrawLargeStretched(*m_pNode, dc, face.icon.x, face.icon.y, face.iconSize, grey,
                                  iconMono);
        break;
    default: {
        const int d = centred(icons::LargePictureSize());
        icons::DrawLarge(*m_pNode, dc, face.icon.x + d, face.icon.y + d, disabled, grey, iconMono);
        break;
    }
    }

    if (face.hasText) {
        ::SetBkMode(dc, TRANSPARENT);
        const views::FaceColours colours = views::ChooseFaceColours(
            views::HighContrast(), views::FacePart::Button, state != views::kStateNormal, checked);
        ::SetTextColor(dc, ::GetSysColor(colours.text));
        RECT r = text.rect;
        ::DrawTextW(dc, m_pNode->m_strName.c_str(), -1, &r, text.format);
    }
    if (glyph) {
        const POINT at = views::MenuGlyphPosition(face.faceClass, w, h, textRight, m_nDpi);
        if (HICON icon = MenuGlyph(face.glyphSize))
            ::DrawIconEx(dc, at.x, at.y, icon, face.glyphSize, face.glyphSize, 0, nullptr,
                         DI_NORMAL);
    }
}

void CBookButton::DrawFace(HDC dc, int state) {
    Draw(dc, state, m_bChecked != 0, !::IsWindowEnabled(hwnd_));
}

void CBookButton::PaintInto(HDC dc) {
    DrawFace(dc, PaintState());
    DrawFocusMark(dc);
}

void CBookButton::UpdateDragCursor() {
    if (!Pressed() || m_nRole != ROLE_NORMAL)
        return;
    POINT screen{};
    ::GetCursorPos(&screen);
    RECT self{}, bar{};
    ::GetWindowRect(hwnd_, &self);
    ::GetWindowRect(::GetAncestor(hwnd_, GA_ROOT), &bar);
    const auto choice = views::ChooseDragCursor(::PtInRect(&self, screen) != FALSE,
                                                ::PtInRect(&bar, screen) != FALSE, CtrlHeld());
    const DragCursors& c = Cursors();
    switch (choice) {
    case views::DragCursor::Move:
        ::SetCursor(c.move);
        break;
    case views::DragCursor::Copy:
        ::SetCursor(c.copy);
        break;
    case views::DragCursor::Remove:
        ::SetCursor(c.remove);
        break;
    case views::DragCursor::Arrow:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        break;
    }
}

void CBookButton::OnLButtonDown(UINT keys, POINT client) {
    SetMsgHandled(false);
    if (m_nRole == ROLE_SEPARATOR)
        return;
    views::PushButton::OnLButtonDown(keys, client);
    ::SetFocus(hwnd_);
}

bool CBookButton::Dragging() const noexcept {
    return Pressed() && m_nRole == ROLE_NORMAL && m_pNode;
}

void CBookButton::PostDragOver(POINT client) {
    if (!Dragging())
        return;
    POINT screen = client;
    ::ClientToScreen(hwnd_, &screen);
    const uint32_t flags =
        views::OwnDragFlags(m_pNode->m_nDepth, m_pNode->IsButton(), PointerInside(client));
    ::PostMessageW(::GetParent(hwnd_), views::WM_LARK_DRAG_OVER, PackScreenPoint(screen),
                   static_cast<LPARAM>(flags));
}

void CBookButton::PostDrop(POINT client) {
    if (!Dragging())
        return;
    HWND bar = ::GetParent(hwnd_);
    ::PostMessageW(bar, views::WM_LARK_DRAG_END, 0, 0);
    if (PointerInside(client))
        return; // a click
    POINT screen = client;
    ::ClientToScreen(hwnd_, &screen);
    RECT main{};
    ::GetWindowRect(::GetAncestor(hwnd_, GA_ROOT), &main);
    // The cursor the button showed there tells what the release does.
    const UINT drop = views::DropMessageFor(
        views::ChooseDragCursor(false, ::PtInRect(&main, screen) != FALSE, CtrlHeld()));
    if (drop)
        ::PostMessageW(bar, drop, PackScreenPoint(screen), static_cast<LPARAM>(m_pNode->m_nSerial));
}

void CBookButton::OnMouseMove(UINT keys, POINT client) {
    if (m_nRole == ROLE_SEPARATOR)
        return;
    UpdateDragCursor();
    PostDragOver(client);
    views::PushButton::OnMouseMove(keys, client);
}

void CBookButton::OnLButtonUp(UINT keys, POINT client) {
    if (m_nRole != ROLE_SEPARATOR && Pressed()) {
        if (m_nRole == ROLE_NORMAL)
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        PostDrop(client);
    }
    views::PushButton::OnLButtonUp(keys, client);
}

void CBookButton::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    UpdateDragCursor();
    views::PushButton::OnKeyDown(key, repeat, flags);
}

void CBookButton::OnKeyUp(UINT key, UINT repeat, UINT flags) {
    UpdateDragCursor();
    views::PushButton::OnKeyUp(key, repeat, flags);
}

views::ButtonFacts CBookButton::AccessibleFacts() const {
    views::ButtonFacts facts = views::PushButton::AccessibleFacts();
    facts.name = m_pNode ? m_pNode->m_strName : std::wstring();
    if (m_nRole == ROLE_SEPARATOR)
        facts.kind = views::ButtonKind::Separator;
    else if (m_bToggle || (m_pNode && !m_pNode->IsButton()))
        facts.kind = views::ButtonKind::Category;
    else
        facts.kind = views::ButtonKind::Program;
    if (facts.kind == views::ButtonKind::Program && m_pNode)
        facts.target = m_pNode->m_strCommand;
    return facts;
}

LRESULT CBookButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETTEXTLENGTH:
        // The node's name stands for the window's text (tools and tests read it), without
        // copying it into every window.
        return m_pNode ? static_cast<LRESULT>(m_pNode->m_strName.size()) : 0;
    case WM_GETTEXT: {
        auto* out = reinterpret_cast<wchar_t*>(lp);
        if (!out || wp == 0)
            return 0;
        const std::wstring name = m_pNode ? m_pNode->m_strName : std::wstring();
        const size_t n = std::min(name.size(), static_cast<size_t>(wp) - 1);
        std::copy_n(name.c_str(), n, out);
        out[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    default:
        return views::PushButton::OnMessage(msg, wp, lp);
    }
}
