#pragma once
// The first run's question whether to create the bookmark buttons.
#include <windows.h>

namespace setup {

class BookmarkQuestion {
public:
    // True for Yes.
    virtual bool AskCreateBookmarks() = 0;

protected:
    ~BookmarkQuestion() = default;
};

// Asks the user in a Yes/No message box owned by the bar's main window.
class MessageBoxBookmarkQuestion final : public BookmarkQuestion {
public:
    explicit MessageBoxBookmarkQuestion(HWND owner) noexcept : owner_(owner) {}
    bool AskCreateBookmarks() override;

private:
    HWND owner_;
};

} // namespace setup
