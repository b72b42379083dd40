#pragma once
// The first-run set-up: a first tree built from the template beside the program.
#include <windows.h>

class oVoiceBook;

namespace setup {

// Starts the tree afresh as "ToolBar", fills it from LarkB.ini and saves it at once.
// `owner` owns the questions asked on the way.
void RunFirstRun(oVoiceBook& root, HWND owner);

} // namespace setup
