// Identifiers of the editing dialogs: the icon picker, the button dialog and the category
// dialogs. Several dialogs share a control number where they share a role.
#pragma once

// Dialog templates
#define IDD_CHANGE_ICON 326
#define IDD_EDIT_BUTTON 213
#define IDD_NEW_CATEGORY 208
#define IDD_EDIT_CATEGORY 211
#define IDD_CHANGE_ORDER 30762

// Icon picker
#define IDC_ICON_FILE 1053
#define IDC_ICON_GRID 1082

// Button dialog
#define IDC_BUTTON_NAME 1053
#define IDC_TARGET 1054
#define IDC_BROWSE 1055
#define IDC_BROWSE_TARGET_FOLDER 1005
#define IDC_ARGUMENTS 1083
#define IDC_WORK_DIR 1074
#define IDC_BROWSE_WORK_DIR 1006
#define IDC_SHOW_STATE 1104
#define IDC_ICON_PREVIEW 1076
#define IDC_CHANGE_ICON 1075

// Category dialogs
#define IDC_TYPE_EMPTY 1034
#define IDC_TYPE_GROUP 1035
#define IDC_TYPE_VIRTUAL 1036
#define IDC_TYPE_FOLDER 1037
#define IDC_CATEGORY_NAME 1056
#define IDC_GROUP_NAME 1073
#define IDC_SCAN_SUB_FOLDERS 1092
#define IDC_BROWSE_COMMON 1057
#define IDC_VIRTUAL_FOLDER 1127
#define IDC_FOLDER_NAME 1130
#define IDC_CHOOSE_FOLDER 1058
#define IDC_CATEGORY_LIST 1061
#define IDC_MOVE_UP 1119
#define IDC_MOVE_DOWN 1120

// Strings of the editing dialogs
#define IDS_NO_ICONS_IN_GRID 3970
