#include "framework/os_version.h"

int OsVersionCode(DWORD platformId, DWORD major, DWORD minor) {
    if (platformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (major > 4)
            return 3;
        if (major == 4)
            return minor < 10 ? 1 : (minor < 90 ? 2 : 3);
        return 0;
    }
    if (platformId == VER_PLATFORM_WIN32_NT) {
        if (major >= 10)
            return 11;
        if (major == 6) {
            switch (minor) {
            case 0:
                return 7;
            case 1:
                return 8;
            case 2:
                return 9;
            default:
                return 10;
            }
        }
        if (major == 5)
            return minor == 0 ? 5 : 6;
        if (major == 4)
            return 4;
    }
    return 0;
}

bool IsWindows8OrLater(int code, DWORD major, DWORD minor) {
    return code == 9 || major > 6 || (major == 6 && minor >= 2);
}

OsVersionInfo QueryOsVersion() {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // The deprecated query is the one whose answer the manifest's compatibility list steers.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#elif defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)))
        return {};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#elif defined(_MSC_VER)
#pragma warning(pop)
#endif
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}
