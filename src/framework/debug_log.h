#pragma once
// Notes for a developer's debugger (OutputDebugString); the user never sees them.
#include <windows.h>

#include <string>

namespace fw {

void DebugLog(const std::wstring& text) noexcept;
// Records the exception being handled (inside a catch block) that a handler of `msg` threw.
void LogHandlerException(const wchar_t* where, UINT msg) noexcept;

} // namespace fw
