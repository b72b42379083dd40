#include "bar/about_dlg.h"

#include <string>

#include "bar/home_page.h"
#include "resource.h"
#include "version.h"

namespace {
// The version as the build gives it (a narrow literal of digits and dots).
std::wstring VersionText() {
    const char* text = LARK_VERSION_TEXT;
    return std::wstring(text, text + std::char_traits<char>::length(text));
}
} // namespace

bool CAboutDlg::OnInitDialog(HWND) {
    SetItemText(IDC_ABOUT_VERSION, VersionText());
    SetItemText(IDC_ABOUT_HOMEPAGE, bar::kHomePage);
    return true;
}
