#include "views/pointer_tracker.h"

#include "views/button_face.h"

namespace views {

int PointerTracker::Press(HWND hwnd) {
    m_bPressed = true;
    TRACKMOUSEEVENT cancel{sizeof(cancel), TME_CANCEL | TME_LEAVE, hwnd, 0};
    ::TrackMouseEvent(&cancel);
    ::SetCapture(hwnd);
    return kStatePressed;
}

int PointerTracker::Move(HWND hwnd, bool inside) {
    int face = kSameFace;
    if (inside) {
        if (m_nHover != kOver)
            face = m_bPressed ? kStatePressed : kStateHot;
        if (m_nHover == kAway) {
            TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, hwnd, 0};
            if (m_bPressed || !::TrackMouseEvent(&leave)) {
                ::SetCapture(hwnd);
                ::SetTimer(hwnd, m_timer, m_periodMs, nullptr);
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
            ::ReleaseCapture();
        }
    }
    return face;
}

int PointerTracker::Release(HWND hwnd, bool inside) {
    m_bPressed = false;
    if (!inside || m_nHover != kOver) {
        m_nHover = kAway;
        if (::GetCapture() == hwnd)
            ::ReleaseCapture();
    }
    if (inside && m_nHover == kAway)
        Move(hwnd, true);
    return inside ? kStateHot : kStateNormal;
}

int PointerTracker::Leave() {
    if (m_nHover == kAway)
        return kSameFace;
    m_nHover = kAway;
    m_bPressed = false;
    return kStateNormal;
}

int PointerTracker::CaptureLost() {
    const int face = Leave();
    if (!m_bPressed)
        return face;
    // A press the pointer never moved in is over too: the release goes elsewhere.
    m_bPressed = false;
    return kStateNormal;
}

int PointerTracker::Tick(HWND hwnd, bool inside) {
    if (m_nHover == kAway) {
        ::KillTimer(hwnd, m_timer);
        return kSameFace;
    }
    if (m_nHover != kOver || inside)
        return kSameFace;
    m_nHover = kAway;
    m_bPressed = false;
    ::ReleaseCapture();
    return kStateNormal;
}

} // namespace views
