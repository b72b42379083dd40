#include "framework/resources.h"

#include "framework/resource_checks.h"

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
    const ResourceBytes block = FindResourceBytes(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1));
    const std::optional<std::wstring_view> text = StringFromBlock(block, id % 16);
    return text ? std::wstring(*text) : std::wstring();
}

std::wstring LoadResString(UINT id) {
    if (ResourceModule() == ProgramModule())
        return LoadResString(ProgramModule(), id);
    std::wstring own = LoadResString(ProgramModule(), id);
    std::wstring text = LoadResString(ResourceModule(), id);
    // A pattern with other conversions would read arguments that were never passed.
    if (text.empty() || PrintfConversions(text) != PrintfConversions(own))
        return own;
    return text;
}

namespace {
// The pack when its template of `type` is whole and names every identifier of the
// program's own, else the program.
template <class ReadIds> HINSTANCE TemplateModule(const wchar_t* type, UINT id, ReadIds readIds) {
    if (ResourceModule() == ProgramModule())
        return ProgramModule();
    const auto offered = readIds(FindResourceBytes(ResourceModule(), type, MAKEINTRESOURCEW(id)));
    if (!offered)
        return ProgramModule();
    const auto needed = readIds(FindResourceBytes(ProgramModule(), type, MAKEINTRESOURCEW(id)));
    return !needed || HoldsAll(*offered, *needed) ? ResourceModule() : ProgramModule();
}
} // namespace

HINSTANCE DialogModule(UINT templateId) {
    return TemplateModule(RT_DIALOG, templateId, &DialogControlIds);
}

HINSTANCE MenuModule(UINT id) {
    return TemplateModule(RT_MENU, id, &MenuCommandIds);
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

Menu LoadResMenu(UINT id) {
    const HINSTANCE module = MenuModule(id);
    HMENU menu = ::LoadMenuW(module, MAKEINTRESOURCEW(id));
    if (!menu && module != ProgramModule())
        menu = ::LoadMenuW(ProgramModule(), MAKEINTRESOURCEW(id));
    return Menu(menu);
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
