// Helper of the kill-during-save tests: saves two different trees to one file in turn, for
// ever, until it is killed. Signals the named event given once the first save is done.
//   lark_save_loop.exe <file> <event name> <seed A> <seed B> <buttons> [writer]
// With "writer", snapshots are taken here and built and written by the data-file writer
// thread, the way the bar's countdown saves: B is handed over while A is still being written.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/com.h"
#include "model/data_file.h"
#include "model/data_file_writer.h"
#include "model/sample_trees.h"
#include "model/tree_snapshot.h"

namespace {

class SnapshotSave final : public model::WriteTask {
public:
    explicit SnapshotSave(const oVoiceBook& root) { tree_.Take(root); }
    bool Build(std::vector<uint8_t>& image) override {
        return model::BuildDataFileImage(tree_, model::kCurrentFormat, image);
    }

private:
    model::TreeSnapshot tree_;
};

int SaveDirectly(const std::wstring& file, const oVoiceBook& a, const oVoiceBook& b, HANDLE saved) {
    for (unsigned n = 0;; ++n) {
        if (!(n % 2 ? b : a).SaveFile(file))
            return 3;
        if (n == 0 && saved)
            ::SetEvent(saved);
    }
}

int SaveThroughWriter(const std::wstring& file, const oVoiceBook& a, const oVoiceBook& b,
                      HANDLE saved) {
    model::DataFileWriter writer(nullptr, 0);
    for (unsigned n = 0;; ++n) {
        for (const oVoiceBook* tree : {&a, &b})
            if (!writer.Submit(file, std::make_shared<SnapshotSave>(*tree)))
                return 3;
        if (!writer.WaitIdle(30000) || !writer.LastOutcome().replaced)
            return 4;
        if (n == 0 && saved)
            ::SetEvent(saved);
    }
}

} // namespace

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
    const bool throughWriter = argc > 6 && std::wstring(argv[6]) == L"writer";
    return throughWriter ? SaveThroughWriter(file, a, b, saved) : SaveDirectly(file, a, b, saved);
}
