#include "framework/debug_log.h"

#include <exception>

#include "framework/text.h"

namespace fw {

void DebugLog(const std::wstring& text) noexcept {
    try {
        ::OutputDebugStringW((L"larkRunBar: " + text + L"\n").c_str());
    } catch (...) {
        ::OutputDebugStringW(text.c_str());
    }
}

void LogHandlerException(const wchar_t* where, UINT msg) noexcept {
    try {
        std::wstring what = L"unknown exception";
        try {
            throw;
        } catch (const std::exception& e) {
            what = FromCodePage(e.what(), CP_ACP);
        } catch (...) {
        }
        DebugLog(FormatText(L"%s: handler of message 0x%04X threw: %s", where, msg, what.c_str()));
    } catch (...) {
        ::OutputDebugStringW(L"larkRunBar: a handler threw\n");
    }
}

} // namespace fw
