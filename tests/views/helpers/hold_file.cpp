// Helper of the tests of a data file held by another program: opens the file shared with no
// one, signals the named event "<event>" once it holds it, and lets go after `ms`
// milliseconds or as soon as the named event "<event>.release" is set.
//   lark_hold_file.exe <file> <event> <ms>
#include <windows.h>
#include <shellapi.h>

#include <string>

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 4)
        return 2;
    HANDLE file = ::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    HANDLE held = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    const std::wstring releaseName = std::wstring(argv[2]) + L".release";
    HANDLE release = ::OpenEventW(SYNCHRONIZE, FALSE, releaseName.c_str());
    if (!held || !release)
        return 4;
    ::SetEvent(held);
    ::WaitForSingleObject(release, static_cast<DWORD>(std::stoul(argv[3])));
    ::CloseHandle(file);
    return 0;
}
