// Starting a node's target.
#include "model/voice_book.h"
#include "shell/launch.h"

#include <utility>

namespace shell {

namespace {
std::function<void(const oVoiceBook&)>& Observer() {
    static std::function<void(const oVoiceBook&)> observer;
    return observer;
}

bool Start(const oVoiceBook& node, const std::wstring& replacement) {
    switch (ChooseRunRoute(node.m_nKind, node.m_pidl.get() != nullptr)) {
    case RunRoute::Fail:
        return false;
    case RunRoute::Nothing:
        return true;
    case RunRoute::ItemIdList:
        // A shell item always opens normally: its stored arguments and state do not apply.
        return RunItemIdList(node.m_pidl.get(), nullptr, SW_SHOWNORMAL);
    case RunRoute::Target:
        break;
    }
    // Unresolved targets (web addresses, documents) go to the shell as they are written.
    std::wstring path;
    ResolveProgramPath(node.m_strCommand, path);
    return RunTarget(path, ChooseArguments(replacement, node.m_strArguments), node.m_strWorkDir,
                     node.m_nShowCmd);
}
} // namespace

void SetLaunchObserver(std::function<void(const oVoiceBook&)> observer) {
    Observer() = std::move(observer);
}

bool RunNode(const oVoiceBook& node, const std::wstring& replacement) {
    const bool started = Start(node, replacement);
    if (started && Observer())
        Observer()(node);
    return started;
}

} // namespace shell
