#pragma once
// The first-run set-up: a first tree built from the template beside the program.
#include <windows.h>

#include <string>

class oVoiceBook;

namespace setup {

constexpr wchar_t kTemplateFileName[] = L"LarkB.ini";

// Starts the tree afresh as "ToolBar", fills it from LarkB.ini in the program's folder
// while a progress window shows, and saves it at once (the caller saves the preferences). `owner`
// owns the progress window and the bookmark question (its top-level window does).
void RunFirstRun(oVoiceBook& root, HWND owner);

} // namespace setup
