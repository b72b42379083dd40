// Identifiers of the editing menu of the program area and its commands.
#pragma once

// The menu of empty space and of buttons
#define IDR_EDIT_MENU 325
#define ID_ADD_BUTTON 33031
#define ID_ADD_SEPARATOR 33071
#define ID_DELETE_NODE 32833
#define ID_NODE_PROPERTIES 32832
#define ID_EDIT_CUT 57635
#define ID_EDIT_COPY 57634
#define ID_EDIT_PASTE 57637
