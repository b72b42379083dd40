#pragma once
// What the button and category dialogs check and store, as plain values: the rules of their
// OK buttons live here so that they can be checked without a window.
#include <windows.h>

#include <optional>
#include <string>

class oVoiceBook;

namespace dialogs {

// Most characters each box of the button dialog takes.
constexpr int kNameChars = 256;
constexpr int kTargetChars = 512;
constexpr int kArgumentsChars = 256;
constexpr int kWorkDirChars = 260;
// Fewest characters a name and a target need.
constexpr int kNameMinimum = 2;
constexpr int kTargetMinimum = 1;

struct ButtonValues {
    std::wstring name, command, arguments, workDir, iconFile;
    int iconIndex = 0;
    int showCmd = 1;
};

ButtonValues ValuesOf(const oVoiceBook& node);

// Why OK was refused: the message to show (a string-table entry, with `minimum` for its %d),
// its icon, and the box that gets the focus (0: none).
struct Refusal {
    UINT message = 0;
    int minimum = 0;
    UINT icon = MB_ICONINFORMATION;
    int control = 0;
};

// White space cut from both ends.
std::wstring TrimBlanks(const std::wstring& text);

// The checks of the button dialog's OK, in their order: the lengths as typed, then a name
// and a target of more than blanks. On success the name and target are left trimmed.
// `nameControl` and `targetControl` are the boxes that take the focus.
std::optional<Refusal> CheckButtonValues(ButtonValues& values, int nameControl, int targetControl);
// The category dialog's check of its name; trimmed on success.
std::optional<Refusal> CheckCategoryName(std::wstring& name, int nameControl);
// The message a refusal shows.
std::wstring RefusalText(const Refusal& refusal);

// Stores the values in a button. A web address without an icon of its own shows the
// built-in web picture unless the button already has a default picture.
void WriteButtonValues(const ButtonValues& values, oVoiceBook& node);

// The file name of `path` without its folder and extension ("C:\a\Tool.v2.exe" -> "Tool.v2").
std::wstring NameWithoutExtension(const std::wstring& path);

} // namespace dialogs
