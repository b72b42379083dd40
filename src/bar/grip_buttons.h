#pragma once
// Drawing routines of the two small buttons on the grip strip.
#include <windows.h>

// A white square with a sunken inner edge; the menu glyph (bitmap 145, or its larger
// drawings for larger buttons) while pressed.
void DrawMenuButton(HDC dc, bool pressed, const RECT& rect);
// A push-button frame with the exit glyph (bitmap 30997, or a larger drawing) in the
// system's button colours, one pixel further in while pressed.
void DrawExitButton(HDC dc, bool pressed, const RECT& rect);
