#include "views/contrast.h"

#include <cwchar>

#include "framework/handle.h"

namespace views {
namespace {
bool g_read = false;
bool g_highContrast = false;
} // namespace

bool ReadHighContrast() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof(hc);
    if (::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) &&
        (hc.dwFlags & HCF_HIGHCONTRASTON))
        return true;
    // Kept as a decimal string, like the other accessibility flags.
    wchar_t text[16] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags",
                       RRF_RT_REG_SZ, &type, text, &size) != ERROR_SUCCESS)
        return false;
    wchar_t* end = nullptr;
    const unsigned long flags = std::wcstoul(text, &end, 10);
    return end != text && *end == L'\0' && (flags & HCF_HIGHCONTRASTON) != 0;
}

bool HighContrast() {
    if (!g_read)
        RefreshHighContrast();
    return g_highContrast;
}

void RefreshHighContrast() {
    g_highContrast = ReadHighContrast();
    g_read = true;
}

FaceColours ChooseFaceColours(bool highContrast, FacePart part, bool lit, bool selected) {
    if (highContrast)
        return lit || selected ? FaceColours{COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT}
                               : FaceColours{COLOR_BTNFACE, COLOR_BTNTEXT};
    if (part == FacePart::Button)
        return FaceColours{COLOR_BTNFACE, COLOR_BTNTEXT};
    return FaceColours{lit        ? COLOR_BTNHIGHLIGHT
                       : selected ? COLOR_WINDOW
                                  : COLOR_BTNFACE,
                       COLOR_WINDOWTEXT};
}

} // namespace views
