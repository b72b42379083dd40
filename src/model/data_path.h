#pragma once
// Where the data files live: %APPDATA%\Tarvo\LarkRunBar, else the program's own folder.
#include <string>

namespace model {

constexpr wchar_t kDataFileName[] = L"LarkB_U.tdb";
constexpr wchar_t kOlderDataFileV4[] = L"LarkB_v4.tdb";
constexpr wchar_t kOlderDataFile[] = L"LarkB.tdb";

// The data folder joined with `fileName`; the sub-folders are created each time.
std::wstring DataFilePath(const std::wstring& fileName);
// Joins two path parts with exactly one separator (a backslash unless '/' is already used).
std::wstring JoinPath(const std::wstring& left, const std::wstring& right);

} // namespace model
