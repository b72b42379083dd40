// The node's own entry point for starting its target.
#include "model/voice_book.h"
#include "shell/launch.h"

bool oVoiceBook::Run(const std::wstring& replacement) const {
    switch (shell::ChooseRunRoute(m_nKind, m_pidl != nullptr)) {
    case shell::RunRoute::Fail:
        return false;
    case shell::RunRoute::Nothing:
        return true;
    case shell::RunRoute::ItemIdList:
        // A shell item always opens normally: its stored arguments and state do not apply.
        return shell::RunItemIdList(m_pidl, nullptr, SW_SHOWNORMAL);
    case shell::RunRoute::Target:
        break;
    }
    // Unresolved targets (web addresses, documents) go to the shell as they are written.
    std::wstring path;
    shell::ResolveProgramPath(m_strCommand, path);
    return shell::RunTarget(path, shell::ChooseArguments(replacement, m_strArguments), m_strWorkDir,
                            m_nShowCmd);
}
