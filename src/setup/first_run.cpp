#include "setup/first_run.h"

#include <memory>
#include <vector>

#include "framework/os_version.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "framework/wait_cursor.h"
#include "model/data_file.h"
#include "model/data_path.h"
#include "model/file_replace.h"
#include "model/voice_book.h"
#include "resource.h"
#include "setup/bookmark_question.h"
#include "setup/first_scan_dlg.h"
#include "setup/program_index.h"
#include "setup/pumped_fill.h"
#include "setup/pumped_work.h"
#include "setup/template_reader.h"
#include "setup/template_rules.h"
#include "shell/messages.h"

namespace setup {
namespace {

// The user's answer, after which the windows the question covered are painted again at
// once. When the program ends while it is open, the answer is No, so the reading stops.
class RepaintingQuestion final : public BookmarkQuestion {
public:
    RepaintingQuestion(HWND owner, HWND bar, HWND progress) noexcept
        : question_(owner), bar_(bar), progress_(progress) {}
    bool AskCreateBookmarks() override {
        // The progress window steps aside while the user is asked: the question could
        // otherwise end up behind it, and the first start would look hung.
        const bool hide = progress_ && ::IsWindowVisible(progress_);
        if (hide)
            ::ShowWindow(progress_, SW_HIDE);
        const bool yes = question_.AskCreateBookmarks();
        if (hide && ::IsWindow(progress_))
            ::ShowWindow(progress_, SW_SHOWNOACTIVATE);
        if (!PumpWaitingMessages(bar_)) {
            ended_ = true;
            return false;
        }
        return yes;
    }
    bool Ended() const noexcept { return ended_; }

private:
    MessageBoxBookmarkQuestion question_;
    HWND bar_;
    HWND progress_;
    bool ended_ = false;
};

bool Gone(HWND window) {
    return window && !::IsWindow(window);
}

} // namespace

void RunFirstRun(oVoiceBook& root, HWND owner) {
    fw::WaitCursor wait;
    // The program may end while the windows keep working (its Exit, the end of the
    // session): then nothing is written and the next start begins afresh.
    HWND bar = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    CFirstScanDlg progress;
    progress.SetText(fw::LoadResString(IDS_FIRST_RUN));
    root.ResetAll(L"ToolBar");
    progress.Create(owner);

    // The scan fills an index of its own; the tree is built here, on the window thread.
    auto index = std::make_shared<ProgramIndex>();
    if (RunWhilePumping([index] { index->BuildFromStartMenu(); }, bar) != PumpedWorkEnd::Done)
        return;
    RepaintingQuestion question(owner, bar, progress.hwnd());
    TemplateOptions options;
    // Shell folders (the Control Panel, the desktop ...) can take long to list: read beside.
    options.fill = [bar](oVoiceBook& category, LPCITEMIDLIST list) {
        std::shared_ptr<oVoiceBook> fresh = FillFromShellFolderWhilePumping(list, bar);
        if (fresh)
            AdoptChildren(*fresh, category);
        return fresh != nullptr;
    };
    // The tree is built here, so the windows answer between the template's entries.
    options.keepAnswering = [bar] { return PumpWaitingMessages(bar); };
    const std::wstring templatePath = fw::ProgramFolder() + kTemplateFileName;
    const TemplateEnd read = ReadTemplate(root, templatePath, QueryOsVersion().major, *index,
                                          question, std::move(options));
    index->Clear();
    if (read == TemplateEnd::Stopped || question.Ended() || Gone(bar))
        return;

    auto image = std::make_shared<std::vector<uint8_t>>();
    if (model::BuildDataFileImage(root, model::kSaveFormat, *image)) {
        const std::wstring path = model::DataFilePath(model::kDataFileName);
        // Once begun, the write is waited for even if the bar goes meanwhile: it replaces
        // the file in one step, so an end of the program during it leaves no part-file.
        const PumpedWorkEnd end = RunWhilePumping(
            [image, path] { model::ReplaceFileAtomically(path, image->data(), image->size()); },
            nullptr);
        if (end != PumpedWorkEnd::Done)
            return;
    }
    progress.Destroy();
    if (read == TemplateEnd::Cut && !Gone(bar)) {
        const TemplateLimits limits;
        shell::ShowMessage(bar,
                           fw::FormatText(fw::LoadResString(IDS_TEMPLATE_CUT).c_str(),
                                          templatePath.c_str(), limits.nodes, limits.depth),
                           MB_OK | MB_ICONINFORMATION);
    }
}

} // namespace setup
