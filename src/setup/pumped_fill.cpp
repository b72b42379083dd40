#include "setup/pumped_fill.h"

#include <string>

#include "framework/com.h"
#include "model/pidl.h"
#include "model/voice_book.h"
#include "setup/folder_fill.h"
#include "setup/pumped_work.h"

namespace setup {

std::shared_ptr<oVoiceBook> FillWhilePumping(std::function<void(oVoiceBook&)> fill, HWND window) {
    auto scratch = std::make_shared<oVoiceBook>();
    const PumpedWorkEnd end = RunWhilePumping([scratch, fill] { fill(*scratch); }, window);
    return end == PumpedWorkEnd::Done ? scratch : nullptr;
}

void AdoptChildren(oVoiceBook& from, oVoiceBook& to) {
    while (oVoiceBook* child = from.FirstChild()) {
        from.Unlink(child);
        to.AppendChild(child);
    }
}

std::shared_ptr<oVoiceBook> FillFromFolderWhilePumping(const std::wstring& folder,
                                                       bool takeSubFolders, HWND window) {
    return FillWhilePumping(
        [folder, takeSubFolders](oVoiceBook& scratch) {
            FillFromFolder(scratch, folder, takeSubFolders);
        },
        window);
}

std::shared_ptr<oVoiceBook> FillFromShellFolderWhilePumping(LPCITEMIDLIST list, HWND window) {
    // The worker reads its own copy: the category's list may be replaced meanwhile.
    auto copy = std::make_shared<fw::Pidl>(model::PidlClone(list));
    if (list && !*copy)
        return nullptr;
    return FillWhilePumping(
        [copy](oVoiceBook& scratch) { FillFromShellFolder(scratch, copy->get()); }, window);
}

} // namespace setup
