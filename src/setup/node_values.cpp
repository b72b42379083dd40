#include "setup/node_values.h"

#include "model/voice_book.h"
#include "shell/shortcut.h"

namespace setup {

oVoiceBook* AddTemplateCategory(oVoiceBook& parent, const std::wstring& name) {
    return parent.AddChild(NewNodeFields(name, kCategoryKind, kTemplateCategoryFlags));
}

oVoiceBook* AddTemplateButton(oVoiceBook& parent, const std::wstring& name,
                              const std::wstring& target, const std::wstring& arguments) {
    NodeRecordFields f = NewNodeFields(name, kButtonKind, kTemplateButtonFlags);
    f.command = target;
    f.arguments = arguments;
    return parent.AddChild(f);
}

oVoiceBook* AddPlainFileButton(oVoiceBook& parent, const std::wstring& name,
                               const std::wstring& path) {
    NodeRecordFields f = NewNodeFields(name, kButtonKind, kPlainFileFlags);
    f.command = path;
    return parent.AddChild(f);
}

oVoiceBook* AddShortcutButton(oVoiceBook& parent, const std::wstring& name,
                              const shell::ShortcutInfo& link) {
    NodeRecordFields f = NewNodeFields(name, kButtonKind, kShortcutFlags);
    f.command = link.target;
    f.arguments = link.arguments;
    f.workDir = link.workDir;
    f.iconFile = link.iconFile;
    f.iconIndex = link.iconIndex;
    f.showCmd = link.showCmd;
    return parent.AddChild(f);
}

oVoiceBook* AddShellItemButton(oVoiceBook& parent, const std::wstring& name, fw::Pidl list,
                               const shell::ShortcutInfo* iconAndShow) {
    NodeRecordFields f = NewNodeFields(name, kButtonKind, kShortcutFlags);
    if (iconAndShow) {
        f.iconFile = iconAndShow->iconFile;
        f.iconIndex = iconAndShow->iconIndex;
        f.showCmd = iconAndShow->showCmd;
    }
    oVoiceBook* node = parent.AddChild(f);
    node->SetPidl(std::move(list));
    return node;
}

oVoiceBook* AddSubFolderCategory(oVoiceBook& parent, const std::wstring& name) {
    return parent.AddChild(NewNodeFields(name, kCategoryKind, kSubFolderFlags));
}

} // namespace setup
