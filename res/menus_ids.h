// Identifiers of the bar menu, the tray icon's and hotkey's menus and the about box.
#pragma once

// The 16x16 command pictures of the program's menus (drawn by tools/gen_menu_art.py), and
// the same at 24 and 32 pixels
#define IDB_MENU_PICTURES 380
#define IDB_MENU_PICTURES_24 391
#define IDB_MENU_PICTURES_32 392

// Controls of the about box
#define IDC_ABOUT_VERSION 1201
#define IDC_ABOUT_HOMEPAGE 1202
