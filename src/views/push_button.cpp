#include "views/push_button.h"

#include <algorithm>
#include <vector>

#include "framework/gdi.h"
#include "views/bar_keys.h"
#include "views/button_face.h"

namespace views {

namespace {
constexpr int kSameFace = -1;
} // namespace

HWND PushButton::CreateButton(const wchar_t* className, int selector, DWORD style, const RECT& rect,
                              HWND parent, UINT id) {
    m_bToggle = (selector & 3) ? 1 : 0;
    // Asked once per class: a bar makes its buttons by the hundred, and each look-up of the
    // class and the cursor costs the window system.
    static std::vector<const wchar_t*> registered;
    if (std::find(registered.begin(), registered.end(), className) == registered.end() &&
        RegisterClass(className, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr))
        registered.push_back(className);
    return fw::Window::Create(0, className, L"", WS_CHILD | style, rect, parent, id);
}

int PushButton::PaintState() const {
    if (!m_bPressed)
        return kStateNormal;
    POINT p{};
    ::GetCursorPos(&p);
    ::ScreenToClient(hwnd_, &p);
    return PointerInside(p) ? kStatePressed : kStateHot;
}

bool PushButton::PointerInside(POINT client) const {
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    return ::PtInRect(&r, client) != FALSE;
}

void PushButton::DrawFocusMark(HDC dc) const {
    // Known from the focus messages: asking the window system costs a round trip a paint.
    if (!m_bFocused || FocusCuesHidden(hwnd_))
        return;
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    ::InflateRect(&r, -2, -2);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::DrawFocusRect(dc, &r);
}

void PushButton::DrawNow(int state) {
    if (!hwnd_ || state == kSameFace)
        return;
    fw::WindowDC dc(hwnd_);
    DrawFace(dc.get(), state);
    DrawFocusMark(dc.get());
}

void PushButton::OnPaint() {
    fw::PaintDC dc(hwnd_);
    DrawFace(dc.get(), PaintState());
    DrawFocusMark(dc.get());
}

bool PushButton::OnEraseBackground(HDC) {
    return true; // the face covers the whole window
}

void PushButton::Capture() {
    if (::GetCapture() != hwnd_)
        m_capture.emplace(hwnd_);
}

void PushButton::OnLButtonDown(UINT, POINT) {
    m_bPressed = true;
    TRACKMOUSEEVENT cancel{sizeof(cancel), TME_CANCEL | TME_LEAVE, hwnd_, 0};
    ::TrackMouseEvent(&cancel);
    Capture();
    DrawNow(kStatePressed);
}

void PushButton::OnMouseMove(UINT, POINT client) {
    DrawNow(Move(PointerInside(client)));
}

int PushButton::Move(bool inside) {
    int face = kSameFace;
    if (inside) {
        if (m_nHover != kOver)
            face = m_bPressed ? kStatePressed : kStateHot;
        if (m_nHover == kAway) {
            TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, hwnd_, 0};
            if (m_bPressed || !::TrackMouseEvent(&leave)) {
                Capture();
                m_leaveTimer.Start(hwnd_, kLeaveTimer, kLeaveTimerPeriodMs);
            }
        }
        m_nHover = kOver;
    } else if (m_bPressed) {
        if (m_nHover == kOver)
            face = kStateHot;
        m_nHover = kHeldOutside;
    } else {
        if (m_nHover == kOver)
            face = kStateNormal;
        if (m_nHover != kAway) {
            m_nHover = kAway; // set first: the capture's loss below must not draw again
            m_capture.reset();
        }
    }
    return face;
}

void PushButton::OnLButtonUp(UINT, POINT client) {
    if (!m_bPressed) {
        SetMsgHandled(false);
        return;
    }
    const bool inside = PointerInside(client);
    if (inside)
        m_bChecked = m_bToggle ? !m_bChecked : 0;
    DrawNow(Release(inside));
    if (!inside)
        return;
    m_capture.reset();
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(hwnd_));
    ::SendMessageW(::GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(hwnd_));
}

int PushButton::Release(bool inside) {
    m_bPressed = false;
    // The capture of the press ends here unless hover tracking keeps it; a press the pointer
    // never moved over starts hover tracking now.
    if (!inside || m_nHover != kOver) {
        m_nHover = kAway;
        m_capture.reset();
    }
    if (inside && m_nHover == kAway)
        Move(true);
    return inside ? kStateHot : kStateNormal;
}

int PushButton::Leave() {
    if (m_nHover == kAway)
        return kSameFace;
    m_nHover = kAway;
    m_bPressed = false;
    return kStateNormal;
}

void PushButton::OnMouseLeave() {
    DrawNow(Leave());
}

void PushButton::OnTimer(UINT_PTR id) {
    if (id != kLeaveTimer) {
        SetMsgHandled(false);
        return;
    }
    if (m_nHover == kAway) {
        m_leaveTimer.Stop();
        return;
    }
    POINT p{};
    ::GetCursorPos(&p);
    ::ScreenToClient(hwnd_, &p);
    if (m_nHover != kOver || PointerInside(p))
        return;
    m_nHover = kAway;
    m_bPressed = false;
    m_capture.reset();
    DrawNow(kStateNormal);
}

ButtonFacts PushButton::AccessibleFacts() const {
    ButtonFacts facts;
    facts.kind = ButtonKind::Picture;
    facts.name = ToolTipTextOf(hwnd_);
    facts.focused = ::GetFocus() == hwnd_;
    facts.hot = m_nHover == kOver;
    facts.pressed = m_bPressed && m_nHover == kOver;
    facts.checked = m_bChecked != 0;
    facts.disabled = !::IsWindowEnabled(hwnd_);
    facts.hidden = !::IsWindowVisible(hwnd_);
    return facts;
}

void PushButton::DoDefaultAction() {
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(hwnd_));
    ::PostMessageW(::GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(hwnd_));
}

LRESULT PushButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT answer = 0;
    if (fw::AnswerAccessible(hwnd_, msg, wp, lp, answer, [this](fw::AccessibleQuery& q) {
            if (q.child != CHILDID_SELF)
                return;
            q.answered = true;
            if (q.doDefaultAction)
                DoDefaultAction();
            else
                q.info = DescribeButton(AccessibleFacts());
        }))
        return answer;
    if (!m_bPressed && ForwardSystemKey(hwnd_, msg, wp))
        return 0;
    if (msg == WM_UPDATEUISTATE)
        ::InvalidateRect(hwnd_, nullptr, FALSE); // the focus rectangle may come or go
    return fw::Window::OnMessage(msg, wp, lp);
}

void PushButton::OnKeyDown(UINT key, UINT, UINT) {
    // While held (a drag) keys keep their own meaning: Ctrl turns a move into a copy.
    if (m_bPressed || !PassKeyToBar(hwnd_, key))
        SetMsgHandled(false);
}

void PushButton::OnKeyUp(UINT key, UINT, UINT) {
    if (!IsMenuKeyUp(WM_KEYUP, key))
        SetMsgHandled(false);
}

UINT PushButton::OnGetDlgCode(const MSG*) {
    return kBarKeysDlgCode;
}

void PushButton::OnSetFocus(HWND) {
    m_bFocused = true;
    ::SendMessageW(::GetParent(hwnd_), WM_LARK_BUTTON_FOCUS, 0, reinterpret_cast<LPARAM>(hwnd_));
    ::InvalidateRect(hwnd_, nullptr, FALSE); // the focus rectangle comes
}

void PushButton::OnKillFocus(HWND) {
    m_bFocused = false;
    ::InvalidateRect(hwnd_, nullptr, FALSE); // the focus rectangle goes
}

void PushButton::OnCaptureChanged(HWND gaining) {
    if (gaining == hwnd_)
        return;
    int face = Leave();
    if (m_bPressed) {
        // A press the pointer never moved in is over too: the release goes elsewhere.
        m_bPressed = false;
        face = kStateNormal;
    }
    DrawNow(face);
}

} // namespace views
