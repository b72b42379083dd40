#pragma once
// The operating-system version code the program uses for its version-dependent choices.
#include <windows.h>

// 1-3 consumer family (95/98/Me), 4-6 NT 4 to XP, 7 Vista, 8 Windows 7, 9 Windows 8,
// 10 Windows 8.1, 11 Windows 10 and later; 0 anything else.
int OsVersionCode(DWORD platformId, DWORD major, DWORD minor);
// Version 6.2 or later: per-monitor scaling of docking rectangles.
bool IsWindows8OrLater(int code, DWORD major, DWORD minor);

struct OsVersionInfo {
    DWORD platformId = 0;
    DWORD major = 0;
    DWORD minor = 0;
};
// The extended version query of the running system.
OsVersionInfo QueryOsVersion();
