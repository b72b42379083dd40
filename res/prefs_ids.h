// Identifiers of the preferences sheet and the auto-hide time dialog.
#pragma once

// Templates: the sheet's "ToolBar" and "Language" pages, the auto-hide time dialog
#define IDD_PAGE_TOOLBAR 30722
#define IDD_AUTO_HIDE_TIME 30724
#define IDD_PAGE_LANGUAGE 30763

// "ToolBar" page
#define IDC_ICON_ACTION 1114
#define IDC_TOOLTIP_BUTTONS 1115
#define IDC_TOOLTIP_TABS 1116
#define IDC_HOTKEY 1118
#define IDC_FIND_HOTKEY 1124
#define IDC_ICON_MONO 1123

// "Language" page
#define IDC_NO_LANGUAGE_PACK 1173
#define IDC_LANGUAGES 1186

// Auto-hide time dialog
#define IDC_USE_DELAY 1099
#define IDC_DELAY 1100
#define IDC_DELAY_SPIN 1101

// Range messages of number fields
#define IDS_ENTER_INTEGER 61712
#define IDS_ENTER_INTEGER_RANGE 61714
