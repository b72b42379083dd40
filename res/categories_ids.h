// Identifiers of the category buttons, the category menu and the tab strip.
#pragma once

// The category menu (tabs and category buttons)
#define IDR_CATEGORY_MENU 338
#define ID_ADD_CATEGORY 33032
#define ID_DELETE_CATEGORY 32833
#define ID_CATEGORY_PROPERTIES 32832
#define ID_REFRESH_CATEGORY 33037
#define ID_CHANGE_CATEGORY_ORDER 33091
#define ID_VIEW_ICON 33085
#define ID_VIEW_TAB 33086
#define ID_VIEW_TAB_ICON 33087

// Flag bit 0 of a category, set and cleared from the tab strip
#define ID_CATEGORY_FLAG_SET 5001
#define ID_CATEGORY_FLAG_CLEAR 5002

// Scroll buttons of the tab strip (normal, disabled)
#define IDI_TAB_NEXT_V 358
#define IDI_TAB_NEXT_V_OFF 359
#define IDI_TAB_PREV_H 360
#define IDI_TAB_PREV_H_OFF 361
#define IDI_TAB_NEXT_H 362
#define IDI_TAB_NEXT_H_OFF 363
#define IDI_TAB_PREV_V 364
#define IDI_TAB_PREV_V_OFF 365

// Content menus of the category-only view
#define ID_CATEGORY_CONTENT_FIRST 12000
#define ID_CATEGORY_CONTENT_LAST 12999
