#pragma once
// The rules of the first-run template LarkB.ini, as functions over the values read from it.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

// The single-byte edition keeps the template rules of the earlier releases.
enum class Edition { Wide, SingleByte };
#ifdef LARK_SINGLE_BYTE
constexpr Edition kThisEdition = Edition::SingleByte;
#else
constexpr Edition kThisEdition = Edition::Wide;
#endif

// Template values are read into buffers of this many units (longer ones are cut).
constexpr size_t kTemplateValueUnits = 1024;
// The single-byte edition keeps at most this many bytes of a value, zero included, in the
// thread's code page.
constexpr size_t kSingleByteTemplateValueBytes = 256;
// More entries than this in one section are not read (a typing slip such as
// NumCommands=2000000000 must not keep the first run busy for hours).
constexpr int kMaxTemplateEntries = 4096;
// Picture of a web-address button whose entry names none: the built-in globe, which every
// other way of making a web button gives too (library icon 7 is a terminal prompt).
constexpr int kDefaultWebImage = 10;

// How much of a template one first run takes in. A template is a file anyone can edit:
// sub-books that name one section twice double at every level, so without bounds a few
// lines ask for more nodes than any memory holds. What lies beyond is left out, and the
// user is told.
struct TemplateLimits {
    int depth = 16;        // levels of categories below the root
    int nodes = 2048;      // categories and buttons, the items of shell folders included
    int entries = 16384;   // "SubBook%d" and "Command%d" values looked at
    int shellFolders = 16; // categories filled from a shell folder
};

constexpr wchar_t kRootSection[] = L"Root";

// Fields separated by commas; a run of commas is one separator, so no field is empty.
std::vector<std::wstring> SplitTemplateFields(std::wstring_view value);

// "SubBook%d": name and numeric id.
struct SubBookEntry {
    std::wstring name;
    int id = 0;
};
std::optional<SubBookEntry> ParseSubBook(std::wstring_view value);

// What a sub-book id stands for.
enum class SubBookKind {
    Skip,        // unknown id: neither the category nor its sub-section is read
    ShellFolder, // a category filled from a special folder
    Plain,       // an ordinary category with a built-in picture
};
struct SubBookPlan {
    SubBookKind kind = SubBookKind::Skip;
    int specialFolder = -1; // CSIDL, for ShellFolder
    int defaultImage = -1;  // for Plain
};
// `osMajor` is the running system's major version (Control Panel is left out from 10 on;
// the single-byte edition knows ids 1 to 6 only and keeps Control Panel).
SubBookPlan PlanSubBook(int id, DWORD osMajor, Edition edition = kThisEdition);

// Whether the bookmark question comes before sub-book `number` (named `name`) of a section
// with `count` sub-books: before the last one; in the single-byte edition before one whose
// name holds "Bookmarks" (or the Korean word).
bool IsBookmarkSubBook(int number, int count, std::wstring_view name,
                       Edition edition = kThisEdition);

// "Command%d": name, target, and optionally arguments and an image number.
struct CommandEntry {
    std::wstring name;
    std::wstring target;
    std::wstring arguments;
    int image = kDefaultWebImage;
};
std::optional<CommandEntry> ParseCommand(std::wstring_view value);

// The section that holds the entries of sub-book `name` of section `parent`.
std::wstring SubSectionName(const std::wstring& parent, const std::wstring& name);
// "SubBook3", "Command12".
std::wstring EntryKey(const wchar_t* prefix, int number);
// A count from the template clamped to 0..kMaxTemplateEntries.
int ClampEntryCount(int count);

// A template value as `edition` keeps it: the single-byte edition cuts it to
// kSingleByteTemplateValueBytes - 1 bytes of the thread's code page, whole characters only.
std::wstring KeptTemplateValue(std::wstring value, Edition edition = kThisEdition);

// An integer field: optional sign and decimal digits only; nothing else is a number.
std::optional<int> ParseTemplateInt(std::wstring_view text);

} // namespace setup
