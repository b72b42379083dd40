#include "framework/text.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace fw {

std::wstring FromCodePage(std::string_view text, UINT codePage) {
    if (text.empty())
        return {};
    const int len = static_cast<int>(text.size());
    const int n = ::MultiByteToWideChar(codePage, 0, text.data(), len, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), len, out.data(), n);
    return out;
}

std::string ToCodePage(std::wstring_view text, UINT codePage) {
    if (text.empty())
        return {};
    const int len = static_cast<int>(text.size());
    const int n =
        ::WideCharToMultiByte(codePage, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), len, out.data(), n, nullptr, nullptr);
    return out;
}

namespace {
// IsDBCSLeadByteEx wants a real code page number.
UINT ResolvedCodePage(UINT codePage) {
    if (codePage != CP_THREAD_ACP)
        return codePage;
    UINT acp = 0;
    if (::GetLocaleInfoW(::GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                         reinterpret_cast<LPWSTR>(&acp), sizeof(acp) / sizeof(wchar_t)) &&
        acp != 0)
        return acp;
    return CP_ACP;
}
} // namespace

size_t FittingCodePageBytes(std::string_view text, size_t maxBytes, UINT codePage) {
    if (text.size() <= maxBytes)
        return text.size();
    const UINT resolved = ResolvedCodePage(codePage);
    size_t i = 0;
    while (i < maxBytes) {
        const bool lead = ::IsDBCSLeadByteEx(resolved, static_cast<BYTE>(text[i])) != FALSE;
        if (lead && i + 1 >= maxBytes)
            break;
        i += lead ? 2 : 1;
    }
    return i;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    if (a.empty())
        return true;
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring FormatText(const wchar_t* pattern, ...) {
    if (!pattern)
        return {};
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list args;
        va_start(args, pattern);
        // The system's own formatter: "%s" in a wide pattern is a wide string there, as the
        // string-table patterns expect (the C99 one would read it as a narrow string).
        const int n = ::_vsnwprintf(buf.data(), buf.size(), pattern, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < buf.size())
            return std::wstring(buf.data(), static_cast<size_t>(n));
        if (buf.size() > (1u << 20))
            return {};
        buf.resize(buf.size() * 2);
    }
}

} // namespace fw
