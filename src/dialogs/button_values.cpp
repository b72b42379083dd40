#include "dialogs/button_values.h"

#include <cwctype>

#include "framework/resources.h"
#include "framework/text.h"
#include "ui/image_lists.h"
#include "model/voice_book.h"
#include "resource.h"
#include "shell/launch.h"

namespace dialogs {

ButtonValues ValuesOf(const oVoiceBook& node) {
    ButtonValues v;
    v.name = node.m_strName;
    v.command = node.m_strCommand;
    v.arguments = node.m_strArguments;
    v.workDir = node.m_strWorkDir;
    v.iconFile = node.m_strIconFile;
    v.iconIndex = node.m_nIconIndex;
    v.showCmd = node.m_nShowCmd;
    return v;
}

std::wstring TrimBlanks(const std::wstring& text) {
    size_t first = 0, last = text.size();
    while (first < last && std::iswspace(text[first]))
        ++first;
    while (last > first && std::iswspace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

namespace {
std::optional<Refusal> TooShort(const std::wstring& text, int minimum, int control) {
    if (text.size() >= static_cast<size_t>(minimum))
        return std::nullopt;
    return Refusal{IDS_MIN_CHARACTERS, minimum, MB_ICONEXCLAMATION, control};
}
} // namespace

std::optional<Refusal> CheckButtonValues(ButtonValues& values, int nameControl, int targetControl) {
    if (auto r = TooShort(values.name, kNameMinimum, nameControl))
        return r;
    if (auto r = TooShort(values.command, kTargetMinimum, targetControl))
        return r;
    std::wstring name = TrimBlanks(values.name);
    if (name.empty())
        return Refusal{IDS_NO_NAME, 0, MB_ICONINFORMATION, nameControl};
    std::wstring command = TrimBlanks(values.command);
    if (command.empty())
        return Refusal{IDS_NO_TARGET, 0, MB_ICONINFORMATION, targetControl};
    values.name = std::move(name);
    values.command = std::move(command);
    return std::nullopt;
}

std::optional<Refusal> CheckCategoryName(std::wstring& name, int nameControl) {
    if (auto r = TooShort(name, kNameMinimum, nameControl))
        return r;
    std::wstring trimmed = TrimBlanks(name);
    if (trimmed.empty())
        return Refusal{IDS_NO_NAME, 0, MB_ICONINFORMATION, nameControl};
    name = std::move(trimmed);
    return std::nullopt;
}

std::wstring RefusalText(const Refusal& refusal) {
    const std::wstring pattern = fw::LoadResString(refusal.message);
    return refusal.message == IDS_MIN_CHARACTERS ? fw::FormatText(pattern.c_str(), refusal.minimum)
                                                 : pattern;
}

void WriteButtonValues(const ButtonValues& values, oVoiceBook& node) {
    node.SetName(values.name.c_str());
    node.SetCommand(values.command.c_str());
    node.SetArguments(values.arguments.c_str());
    node.SetWorkDir(values.workDir.c_str());
    node.SetIcon(values.iconFile.c_str(), values.iconIndex);
    node.m_nShowCmd = values.showCmd;
    if (shell::IsWebAddress(values.command) && values.iconFile.empty() && node.m_nDefaultImage < 0)
        node.m_nDefaultImage = icons::kPictureWeb;
}

std::wstring NameWithoutExtension(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

} // namespace dialogs
