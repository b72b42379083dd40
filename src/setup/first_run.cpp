#include "setup/first_run.h"

#include "model/data_path.h"
#include "model/voice_book.h"

namespace setup {

void RunFirstRun(oVoiceBook& root, HWND) {
    root.ResetAll(L"ToolBar");
    // The template beside the program is read here once the template reader exists.
    root.SaveFile(model::DataFilePath(model::kDataFileName));
}

} // namespace setup
