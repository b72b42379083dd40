#pragma once
// The end of the real program's start-up as a test can see it. A first run keeps the bar's
// thread answering messages while it works, so an answer alone does not mean it is over.
#include <windows.h>

#include <string>

namespace test {

// The first-run progress window ("Preparing larkRunBar...") of process `pid`, if shown.
HWND FindProgressWindow(DWORD pid);

// Waits until the data file `dataFile` exists, no progress window of `pid` is left and
// the bar's thread has answered a message after that. False on time-out.
bool WaitForStartupDone(DWORD pid, HWND bar, const std::wstring& dataFile, DWORD timeoutMs);

} // namespace test
