// A language pack that carries code: loading it as a library would run its entry point,
// which leaves a mark in the process's environment.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        ::SetEnvironmentVariableW(L"LARK_PACK_CODE_RAN", L"1");
    return TRUE;
}
