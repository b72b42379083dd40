// Helper of the kill-during-save test: saves two different trees to one file in turn, for
// ever, until it is killed. Signals the named event given once the first save is done.
//   lark_save_loop.exe <file> <event name> <seed A> <seed B> <buttons>
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "framework/com.h"
#include "model/sample_trees.h"

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 6)
        return 2;
    const std::wstring file = argv[1];
    fw::OleInit ole;
    oVoiceBook a, b;
    sample::BuildTree(a, static_cast<uint32_t>(std::stoul(argv[3])), std::stoi(argv[5]), 6);
    sample::BuildTree(b, static_cast<uint32_t>(std::stoul(argv[4])), std::stoi(argv[5]), 6);
    HANDLE saved = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    for (unsigned n = 0;; ++n) {
        if (!(n % 2 ? b : a).SaveFile(file))
            return 3;
        if (n == 0 && saved)
            ::SetEvent(saved);
    }
}
