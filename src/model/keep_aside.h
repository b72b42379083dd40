#pragma once
// Copies of the data file kept beside it when this run could not read all of it, so that no
// save ever destroys what the user had: names "<file><suffix>", else "<file><suffix>.N" with
// the first N that is free, in the same folder.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace model {

constexpr wchar_t kUnreadableSuffix[] = L".unreadable"; // nothing could be read
constexpr wchar_t kIncompleteSuffix[] = L".incomplete"; // read in part
constexpr wchar_t kKeptSuffix[] = L".kept";             // kept before the first save over it

// Renames `path` aside as unreadable; copies it when it cannot be renamed. Returns the new
// name, or an empty string when neither worked.
std::wstring SetFileAside(const std::wstring& path);
// Writes `bytes`, the file's content as it was read, beside it. Returns the copy's name, or
// an empty string when it could not be written.
std::wstring KeepBytesAside(const std::wstring& path, const wchar_t* suffix,
                            const std::vector<uint8_t>& bytes);
// Writes `bytes` under the first of name(0), name(1), ... that is free, never over a file;
// returns the name, or an empty string when it could not be written.
std::wstring WriteUnderFreeName(const std::function<std::wstring(int)>& name,
                                const std::vector<uint8_t>& bytes);
// Copies the file beside itself; empty when it cannot be read now.
std::wstring CopyFileAside(const std::wstring& path, const wchar_t* suffix);

// A data file that this run has neither read whole nor kept a copy of (another program held
// it, or no copy could be written) must not be written over: it is protected.
void ProtectUntilCopied(const std::wstring& path);
bool IsProtected(const std::wstring& path);
// The file was read whole, or a copy of it kept, after all: it may be written over.
void ReleaseProtection(const std::wstring& path);
// Asked by every replacement just before it moves its file over `path` (from any thread):
// true when it may. A protected file is copied aside first (kKeptSuffix) and is free from
// then on; while it still cannot be copied, the answer is false and the save fails (the
// change stays pending and is tried again).
bool ReadyToReplace(const std::wstring& path);
// Forgets every protection (tests start afresh).
void ForgetProtections();

} // namespace model
