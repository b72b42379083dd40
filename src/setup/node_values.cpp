#include "setup/node_values.h"

#include "model/voice_book.h"
#include "shell/shortcut.h"

namespace setup {

oVoiceBook* AddTemplateCategory(oVoiceBook& parent, const std::wstring& name) {
    return parent.AddChild(name.c_str(), kCategoryKind, kTemplateCategoryFlags, nullptr, nullptr,
                           nullptr, nullptr, 0, SW_SHOWNORMAL);
}

oVoiceBook* AddTemplateButton(oVoiceBook& parent, const std::wstring& name,
                              const std::wstring& target, const std::wstring& arguments) {
    return parent.AddChild(name.c_str(), kButtonKind, kTemplateButtonFlags, target.c_str(),
                           arguments.c_str(), nullptr, nullptr, 0, SW_SHOWNORMAL);
}

oVoiceBook* AddPlainFileButton(oVoiceBook& parent, const std::wstring& name,
                               const std::wstring& path) {
    return parent.AddChild(name.c_str(), kButtonKind, kPlainFileFlags, path.c_str(), nullptr,
                           nullptr, nullptr, 0, SW_SHOWNORMAL);
}

oVoiceBook* AddShortcutButton(oVoiceBook& parent, const std::wstring& name,
                              const shell::ShortcutInfo& link) {
    return parent.AddChild(name.c_str(), kButtonKind, kShortcutFlags, link.target.c_str(),
                           link.arguments.c_str(), link.workDir.c_str(), link.iconFile.c_str(),
                           link.iconIndex, link.showCmd);
}

oVoiceBook* AddShellItemButton(oVoiceBook& parent, const std::wstring& name, fw::Pidl list,
                               const shell::ShortcutInfo* iconAndShow) {
    oVoiceBook* node =
        parent.AddChild(name.c_str(), kButtonKind, kShortcutFlags, nullptr, nullptr, nullptr,
                        iconAndShow ? iconAndShow->iconFile.c_str() : nullptr,
                        iconAndShow ? iconAndShow->iconIndex : 0,
                        iconAndShow ? iconAndShow->showCmd : SW_SHOWNORMAL);
    node->SetPidl(std::move(list));
    return node;
}

oVoiceBook* AddSubFolderCategory(oVoiceBook& parent, const std::wstring& name) {
    return parent.AddChild(name.c_str(), kCategoryKind, kSubFolderFlags, nullptr, nullptr, nullptr,
                           nullptr, 0, SW_SHOWNORMAL);
}

} // namespace setup
