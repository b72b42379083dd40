#pragma once
// The program's home page, opened from the bar menu and shown in the about box.
namespace bar {
inline constexpr wchar_t kHomePage[] = L"https://larkrunbar.example.org/";
} // namespace bar
