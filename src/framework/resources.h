#pragma once
// Resource loading from the active resource module, which a language pack can replace.
#include <windows.h>

#include <string>

#include "framework/gdi.h"

namespace fw {

// The module that strings, menus, dialogs, icons and bitmaps are loaded from.
// Defaults to the executable; a language pack is switched in once at start-up.
HINSTANCE ResourceModule() noexcept;
void SetResourceModule(HINSTANCE module) noexcept;
// The executable's own module (window classes are registered with it).
HINSTANCE ProgramModule() noexcept;

// A pack gives only what it holds whole: a string, menu or dialog it lacks, that does not lie
// whole in it, that misses an identifier the program's own has, or a string whose printf
// conversions differ from the program's own, comes from the program's own resources.

// String-table entry from the active module, else the program's own; empty when missing.
std::wstring LoadResString(UINT id);
// As above, but from the given module only.
std::wstring LoadResString(HINSTANCE module, UINT id);

// The module dialog template `templateId` is created from, and menu `id` loaded from.
HINSTANCE DialogModule(UINT templateId);
HINSTANCE MenuModule(UINT id);

// Menus, icons, bitmaps and cursors from the active module (all falling back to the
// program's own), each in an owner; an empty owner when missing.
Menu LoadResMenu(UINT id);
// An icon at the given size (0, 0 = the system's default size).
Icon LoadResIcon(UINT id, int cx = 0, int cy = 0) noexcept;
Bitmap LoadResBitmap(UINT id, UINT flags = LR_CREATEDIBSECTION) noexcept;

// Full path of the running program and its folder (with a trailing backslash).
std::wstring ProgramPath();
std::wstring ProgramFolder();

} // namespace fw
