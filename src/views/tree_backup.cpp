#include "views/tree_backup.h"

#include <string_view>

#include "document/tree_document.h"
#include "dialogs/file_open.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "framework/wait_cursor.h"
#include "model/data_path.h"
#include "model/file_replace.h"
#include "model/tree_text.h"
#include "resource.h"
#include "shell/messages.h"

namespace views {
namespace {

bool WriteText(const std::wstring& path, const std::string& text) {
    fw::WaitCursor wait;
    return model::ReplaceFileAtomically(path, reinterpret_cast<const uint8_t*>(text.data()),
                                        text.size());
}

// The file's name without its folder and extension: the name of an imported category.
std::wstring CategoryName(const std::wstring& path) {
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

// A file that could not be read or written, with the system's error.
void TellFileFailure(HWND owner, UINT message, const std::wstring& path, DWORD error) {
    shell::ShowMessage(owner,
                       fw::FormatText(fw::LoadResString(message).c_str(), path.c_str(),
                                      static_cast<unsigned>(error)),
                       MB_OK | MB_ICONEXCLAMATION);
}

std::wstring BackupName() {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return fw::FormatText(fw::LoadResString(IDS_IMPORT_BACKUP_NAME).c_str(), t.wYear, t.wMonth,
                          t.wDay, t.wHour, t.wMinute, t.wSecond);
}

} // namespace

void ExportTree(HWND owner, const oVoiceBook& root) {
    std::wstring path = fw::LoadResString(IDS_TREE_TEXT_NAME);
    if (!dialogs::ChooseFileToSave(owner, IDS_TREE_TEXT_FILTER, path))
        return;
    if (!WriteText(path, model::TreeToText(root)))
        TellFileFailure(owner, IDS_EXPORT_FAILED, path, ::GetLastError());
}

Imported ImportTree(HWND owner, document::TreeDocument& doc) {
    std::wstring path;
    if (!dialogs::ChooseFileToOpen(owner, IDS_TREE_TEXT_FILTER, path))
        return {};
    std::vector<uint8_t> bytes;
    if (model::ReadWholeFile(path, bytes, model::kMaxTreeTextBytes) != model::ReadResult::Ok) {
        TellFileFailure(owner, IDS_IMPORT_UNREADABLE, path, ::GetLastError());
        return {};
    }
    model::TreeTextResult read = model::TreeFromText(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!read.root) {
        const std::wstring why =
            fw::LoadResString(IDS_TREE_TEXT_ERROR_FIRST + static_cast<UINT>(read.error) - 1);
        shell::ShowMessage(owner,
                           fw::FormatText(fw::LoadResString(IDS_IMPORT_REFUSED).c_str(),
                                          path.c_str(), static_cast<unsigned>(read.line),
                                          why.c_str()),
                           MB_OK | MB_ICONEXCLAMATION);
        return {};
    }
    std::wstring name = CategoryName(path);
    if (name.empty())
        name = path;
    const std::wstring backup = model::DataFilePath(BackupName());
    const int answer =
        shell::ShowMessage(owner,
                           fw::FormatText(fw::LoadResString(IDS_IMPORT_ASK_WHOLE).c_str(),
                                          path.c_str(), backup.c_str(), name.c_str()),
                           MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) {
        // The present tree is kept as a text first; without it nothing is replaced.
        if (!WriteText(backup, model::TreeToText(doc.Root()))) {
            TellFileFailure(owner, IDS_EXPORT_FAILED, backup, ::GetLastError());
            return {};
        }
        doc.WillChange(doc.Root(), false, document::TreeListener::Change::Deleting);
        model::TakeWholeTree(doc.Root(), *read.root);
        return {Imported::Kind::WholeTree, nullptr};
    }
    if (answer != IDNO)
        return {};
    auto* category = new oVoiceBook(CategoryFields(name));
    model::TakeChildren(*read.root, *category);
    doc.Root().AppendChild(category);
    return {Imported::Kind::NewCategory, category};
}

} // namespace views
