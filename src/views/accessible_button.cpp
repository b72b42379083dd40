#include "views/accessible_button.h"

#include <commctrl.h>
#include <oleacc.h>

#include <array>

#include "framework/resources.h"
#include "resource.h"

namespace views {

fw::AccessibleInfo DescribeButton(const ButtonFacts& facts) {
    fw::AccessibleInfo info;
    info.name = facts.name;
    switch (facts.kind) {
    case ButtonKind::Program:
        info.role = ROLE_SYSTEM_PUSHBUTTON;
        info.description = facts.target;
        info.defaultAction = fw::LoadResString(IDS_ACTION_OPEN);
        break;
    case ButtonKind::Category:
        info.role = ROLE_SYSTEM_PAGETAB;
        info.defaultAction = fw::LoadResString(IDS_ACTION_SWITCH);
        info.state |= STATE_SYSTEM_SELECTABLE | (facts.checked ? STATE_SYSTEM_SELECTED : 0);
        break;
    case ButtonKind::Picture:
        info.role = ROLE_SYSTEM_PUSHBUTTON;
        info.defaultAction = fw::LoadResString(IDS_ACTION_PRESS);
        break;
    case ButtonKind::Separator:
        info.role = ROLE_SYSTEM_SEPARATOR;
        info.name.clear();
        break;
    }
    if (facts.hidden)
        info.state |= STATE_SYSTEM_INVISIBLE;
    if (facts.kind == ButtonKind::Separator)
        return info;
    if (facts.disabled) {
        // A button that cannot be used takes no focus and does nothing.
        info.state |= STATE_SYSTEM_UNAVAILABLE;
        info.defaultAction.clear();
        return info;
    }
    info.state |= STATE_SYSTEM_FOCUSABLE;
    if (facts.focused)
        info.state |= STATE_SYSTEM_FOCUSED;
    if (facts.hot)
        info.state |= STATE_SYSTEM_HOTTRACKED;
    if (facts.pressed)
        info.state |= STATE_SYSTEM_PRESSED;
    return info;
}

std::wstring ToolTipTextOf(HWND tool) {
    HWND owner = ::GetParent(tool);
    std::wstring text;
    const auto ask = [&](HWND tip) {
        wchar_t name[32] = {};
        ::GetClassNameW(tip, name, 32);
        if (::lstrcmpiW(name, TOOLTIPS_CLASSW) != 0)
            return true;
        std::array<wchar_t, 256> buffer{};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.hwnd = owner;
        ti.uId = reinterpret_cast<UINT_PTR>(tool);
        ti.lpszText = buffer.data();
        ::SendMessageW(tip, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&ti));
        if (ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKW)
            text = ti.lpszText;
        return text.empty();
    };
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND tip, LPARAM param) -> BOOL {
            return (*reinterpret_cast<decltype(ask)*>(param))(tip) ? TRUE : FALSE;
        },
        reinterpret_cast<LPARAM>(&ask));
    return text;
}

} // namespace views
