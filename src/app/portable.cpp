#include "app/portable.h"

#include <windows.h>

#include "framework/handle.h"
#include "model/data_path.h"

std::optional<PortablePlaces> FindPortablePlaces(const std::wstring& programFolder) {
    const std::wstring marker = model::JoinPath(programFolder, kPortableMarker);
    const DWORD attributes = ::GetFileAttributesW(marker.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return PortablePlaces{programFolder, model::JoinPath(programFolder, kPortableSettingsFile)};
}

bool CanWriteFile(const std::wstring& path) {
    // Opened the way the settings are written, and left as it was (a new file stays empty).
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}
