#pragma once
// What the parts of the program button bar need of the window that holds them: its handle,
// the tree it shows, the preferences and the modification notice every edit ends with.
#include <windows.h>

struct Preferences;
namespace document {
class TreeDocument;
} // namespace document

namespace views {

class BarHost {
public:
    virtual HWND BarWindow() const noexcept = 0;
    // Null when the bar shows no tree.
    virtual document::TreeDocument* Document() const noexcept = 0;
    // Null when the defaults apply.
    virtual const Preferences* Prefs() const noexcept = 0;
    virtual void MarkModified() noexcept = 0;

    // The window that owns the bar's dialogs, messages and menus.
    HWND Owner() const noexcept { return ::GetAncestor(BarWindow(), GA_ROOT); }

protected:
    ~BarHost() = default;
};

} // namespace views
