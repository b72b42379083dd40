#include "setup/first_run.h"

#include "app/main_app.h"
#include "app/os_version.h"
#include "framework/resources.h"
#include "framework/wait_cursor.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "resource.h"
#include "setup/bookmark_question.h"
#include "setup/first_scan_dlg.h"
#include "setup/program_index.h"
#include "setup/template_reader.h"
#include "setup/template_rules.h"

namespace setup {
namespace {

// The application object, when this code runs inside the program (tests have none).
CMainApp* RunningApp() noexcept {
    return dynamic_cast<CMainApp*>(fw::App::Current());
}

DWORD RunningOsMajor() {
    if (CMainApp* app = RunningApp())
        return app->OsMajor();
    return QueryOsVersion().major;
}

} // namespace

void RunFirstRun(oVoiceBook& root, HWND owner) {
    fw::WaitCursor wait;
    CFirstScanDlg progress;
    progress.SetText(fw::LoadResString(IDS_FIRST_RUN));
    root.ResetAll(L"ToolBar");
    progress.Create(owner);

    ProgramIndex index;
    index.BuildFromStartMenu();
    MessageBoxBookmarkQuestion question(owner);
    ReadTemplate(root, fw::ProgramFolder() + kTemplateFileName, RunningOsMajor(), index, question);
    index.Clear();

    root.SaveFile(model::DataFilePath(model::kDataFileName));
    progress.Destroy();
    if (CMainApp* app = RunningApp())
        app->SavePreferences();
}

} // namespace setup
