#pragma once
// Where the data files live: %APPDATA%\Tarvo\LarkRunBar, else the program's own folder; a
// portable program keeps them in a folder of its choice.
#include <optional>
#include <string>

namespace model {

// The file this program writes. The single-byte build keeps its tree in the file of the
// earlier single-byte releases.
constexpr wchar_t kCurrentDataFile[] = L"LarkB_U.tdb";
constexpr wchar_t kOlderDataFileV4[] = L"LarkB_v4.tdb";
constexpr wchar_t kOlderDataFile[] = L"LarkB.tdb";
#ifdef LARK_SINGLE_BYTE
constexpr const wchar_t* kDataFileName = kOlderDataFile;
#else
constexpr const wchar_t* kDataFileName = kCurrentDataFile;
#endif

// The data folder joined with `fileName`; the sub-folders are created each time.
std::wstring DataFilePath(const std::wstring& fileName);
// From now on the data files live in `folder` (as it is; nothing is created). Set once at
// start-up, before the tree is read.
void SetDataFolder(std::wstring folder);
// The same from its inputs: the application-data folder (none when it could not be had)
// and the program's own folder. `createFolders` creates the two sub-folders.
std::wstring ComposeDataFilePath(const std::optional<std::wstring>& appData,
                                 const std::wstring& programFolder, const std::wstring& fileName,
                                 bool createFolders);
// Joins two path parts with exactly one separator: none is added when one side has it,
// one is dropped when both have it; a backslash unless the parts already use '/'.
std::wstring JoinPath(const std::wstring& left, const std::wstring& right);

} // namespace model
