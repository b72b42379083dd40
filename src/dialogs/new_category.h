#pragma once
// The "New Category" command: what the new-category dialog answers, which of its controls
// each kind of category uses, and the category made and filled from the answer.
#include <windows.h>

#include <string>

#include "framework/com.h"

class oVoiceBook;

namespace dialogs {

enum CategoryType : int {
    kEmptyCategory = 0,
    kGroupCategory = 1,   // linked to a group of the Start menu's programs
    kVirtualCategory = 2, // linked to a special folder of the shell
    kFolderCategory = 3,  // linked to any folder of the shell's namespace
};

struct NewCategoryRequest {
    int type = kEmptyCategory;
    std::wstring name;
    std::wstring groupName, groupPath;
    bool scanSubFolders = false;
    std::wstring folderName;
    fw::Pidl folderList;
    int virtualFolderId = -1;
    std::wstring virtualFolderName;
};

// The controls of the dialog a type uses; the others are disabled.
struct CategoryTypeControls {
    bool name, browse, browseCommon, scanSubFolders, virtualFolders, chooseFolder;
};
// `consumerFamily`: the 95/98/Me line of Windows, whose Start menu has no common groups.
CategoryTypeControls EnabledControls(int type, bool consumerFamily);

// The special folders offered as virtual folders, in their order.
constexpr int kVirtualFolders[] = {5, 13, 39, 14, 21, 8, 0, 17, 3, 18, 4, 47};

// The new category for `name`: right after `anchor` when that is a category (or another
// entry carrying the category bit below the root), else the root's last child.
oVoiceBook* AddNewCategory(oVoiceBook& root, oVoiceBook* anchor, const std::wstring& name);

// Makes and fills the category the request describes, with the progress window over
// `owner` while it fills. Null, after telling the user, when there is no name or folder.
oVoiceBook* CreateNewCategory(HWND owner, oVoiceBook& root, oVoiceBook* anchor,
                              NewCategoryRequest& request);

// The whole command: the dialog, then the category. Null when cancelled or refused.
oVoiceBook* RunNewCategoryCommand(HWND owner, oVoiceBook& root, oVoiceBook* anchor);

} // namespace dialogs
