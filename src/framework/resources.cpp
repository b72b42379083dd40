#include "framework/resources.h"

namespace fw {
namespace {
HINSTANCE g_resourceModule = nullptr;
}

HINSTANCE ProgramModule() noexcept {
    return ::GetModuleHandleW(nullptr);
}

HINSTANCE ResourceModule() noexcept {
    return g_resourceModule ? g_resourceModule : ProgramModule();
}

void SetResourceModule(HINSTANCE module) noexcept {
    g_resourceModule = module;
}

std::wstring LoadResString(HINSTANCE module, UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a read-only pointer into the resource.
    const int n = ::LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
    if (n <= 0 || !text)
        return {};
    return std::wstring(text, static_cast<size_t>(n));
}

std::wstring LoadResString(UINT id) {
    return LoadResString(ResourceModule(), id);
}

namespace {
// An image from the active module, else from the program's own.
HANDLE LoadImageResource(UINT id, UINT type, int cx, int cy, UINT flags) noexcept {
    HANDLE image = ::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(id), type, cx, cy, flags);
    if (!image && ResourceModule() != ProgramModule())
        image = ::LoadImageW(ProgramModule(), MAKEINTRESOURCEW(id), type, cx, cy, flags);
    return image;
}
} // namespace

Menu LoadResMenu(UINT id) noexcept {
    return Menu(::LoadMenuW(ResourceModule(), MAKEINTRESOURCEW(id)));
}

Icon LoadResIcon(UINT id, int cx, int cy) noexcept {
    const UINT flags = (cx == 0 && cy == 0) ? LR_DEFAULTSIZE : 0;
    return Icon(static_cast<HICON>(LoadImageResource(id, IMAGE_ICON, cx, cy, flags)));
}

Bitmap LoadResBitmap(UINT id, UINT flags) noexcept {
    return Bitmap(static_cast<HBITMAP>(LoadImageResource(id, IMAGE_BITMAP, 0, 0, flags)));
}

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramFolder() {
    std::wstring path = ProgramPath();
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

} // namespace fw
