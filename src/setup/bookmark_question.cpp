#include "setup/bookmark_question.h"

#include "framework/resources.h"
#include "resource.h"
#include "shell/messages.h"

namespace setup {

bool MessageBoxBookmarkQuestion::AskCreateBookmarks() {
    // The owner handed down may be a child of the bar; the question belongs to the bar.
    HWND owner = owner_ ? ::GetAncestor(owner_, GA_ROOT) : nullptr;
    return shell::ShowMessage(owner, fw::LoadResString(IDS_ASK_BOOKMARKS),
                              MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace setup
