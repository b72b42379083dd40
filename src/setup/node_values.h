#pragma once
// The nodes the first run and the folder fillers create, with their kinds and flags.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "framework/com.h"

class oVoiceBook;
namespace shell {
struct ShortcutInfo;
}

namespace setup {

// Flag words given at creation; kept in the data file, nothing depends on them.
constexpr uint32_t kTemplateCategoryFlags = 10;
constexpr uint32_t kTemplateButtonFlags = 8;
constexpr uint32_t kPlainFileFlags = 2;
constexpr uint32_t kShortcutFlags = 0;
constexpr uint32_t kSubFolderFlags = 2;

constexpr int32_t kCategoryKind = 0x12; // KIND_ITEM + KIND_BOOK
constexpr int32_t kButtonKind = 0x14;   // KIND_ITEM + KIND_COMMAND

oVoiceBook* AddTemplateCategory(oVoiceBook& parent, const std::wstring& name);
oVoiceBook* AddTemplateButton(oVoiceBook& parent, const std::wstring& name,
                              const std::wstring& target, const std::wstring& arguments);
oVoiceBook* AddPlainFileButton(oVoiceBook& parent, const std::wstring& name,
                               const std::wstring& path);
oVoiceBook* AddShortcutButton(oVoiceBook& parent, const std::wstring& name,
                              const shell::ShortcutInfo& link);
// The button owns `list`; `iconAndShow` (optional) gives the shortcut's icon and state.
oVoiceBook* AddShellItemButton(oVoiceBook& parent, const std::wstring& name, fw::Pidl list,
                               const shell::ShortcutInfo* iconAndShow);
oVoiceBook* AddSubFolderCategory(oVoiceBook& parent, const std::wstring& name);

} // namespace setup
