#include "dialogs/new_category.h"

#include "dialogs/button_values.h"
#include "dialogs/new_program_book_dlg.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "model/voice_book.h"
#include "resource.h"
#include "setup/first_scan_dlg.h"
#include "setup/folder_fill.h"
#include "setup/node_values.h"
#include "shell/messages.h"

namespace dialogs {
namespace {

void Refuse(HWND owner, UINT message) {
    shell::ShowMessage(owner, fw::LoadResString(message), MB_OK | MB_ICONINFORMATION);
}

// Runs `fill` while the progress window names the category.
template <class F> void FillWithProgress(HWND owner, const std::wstring& name, F fill) {
    CFirstScanDlg progress;
    progress.SetText(
        fw::FormatText(fw::LoadResString(IDS_REGISTERING_GROUP).c_str(), name.c_str()));
    progress.Create(owner);
    fill();
    progress.Destroy();
}

} // namespace

CategoryTypeControls EnabledControls(int type, bool consumerFamily) {
    CategoryTypeControls c{};
    switch (type) {
    case kEmptyCategory:
        c.name = true;
        break;
    case kGroupCategory:
        c.browse = c.scanSubFolders = true;
        c.browseCommon = !consumerFamily;
        break;
    case kVirtualCategory:
        c.virtualFolders = true;
        break;
    case kFolderCategory:
        c.chooseFolder = true;
        break;
    default:
        break;
    }
    return c;
}

oVoiceBook* AddNewCategory(oVoiceBook& root, oVoiceBook* anchor, const std::wstring& name) {
    const int32_t kind = setup::kCategoryKind;
    const uint32_t flags = setup::kSubFolderFlags;
    if (anchor && anchor != &root && anchor->Parent() && anchor->IsItem() &&
        (anchor->m_nKind & KIND_BOOK))
        return anchor->AddAfter(name.c_str(), kind, flags, L"", L"", L"", L"", 0, 1);
    return root.AddChild(name.c_str(), kind, flags, L"", L"", L"", L"", 0, 1);
}

oVoiceBook* CreateNewCategory(HWND owner, oVoiceBook& root, oVoiceBook* anchor,
                              NewCategoryRequest& request) {
    switch (request.type) {
    case kEmptyCategory: {
        const std::wstring name = TrimBlanks(request.name);
        if (name.empty()) {
            Refuse(owner, IDS_NO_NAME);
            return nullptr;
        }
        return AddNewCategory(root, anchor, name);
    }
    case kGroupCategory: {
        const std::wstring name = TrimBlanks(request.groupName);
        if (name.empty()) {
            Refuse(owner, IDS_NO_NAME);
            return nullptr;
        }
        oVoiceBook* category = AddNewCategory(root, anchor, name);
        category->SetCommand(request.groupPath.c_str());
        category->m_bScanSubFolders = request.scanSubFolders ? 1 : 0;
        FillWithProgress(owner, name, [&] {
            setup::FillFromFolder(*category, request.groupPath, request.scanSubFolders);
        });
        return category;
    }
    case kVirtualCategory: {
        fw::Pidl list;
        if (request.virtualFolderId < 0 ||
            FAILED(::SHGetSpecialFolderLocation(owner, request.virtualFolderId, list.put())) ||
            !list) {
            Refuse(owner, IDS_NO_FOLDER);
            return nullptr;
        }
        oVoiceBook* category = AddNewCategory(root, anchor, request.virtualFolderName);
        category->SetPidl(list.release());
        FillWithProgress(owner, category->m_strName,
                         [&] { setup::FillFromShellFolder(*category, category->m_pidl); });
        return category;
    }
    case kFolderCategory: {
        const std::wstring name = TrimBlanks(request.folderName);
        if (name.empty() || !request.folderList) {
            Refuse(owner, IDS_NO_FOLDER);
            return nullptr;
        }
        oVoiceBook* category = AddNewCategory(root, anchor, name);
        category->SetPidl(request.folderList.release());
        FillWithProgress(owner, name,
                         [&] { setup::FillFromShellFolder(*category, category->m_pidl); });
        return category;
    }
    default:
        return nullptr;
    }
}

oVoiceBook* RunNewCategoryCommand(HWND owner, oVoiceBook& root, oVoiceBook* anchor) {
    CNewProgramBookDlg dlg;
    if (dlg.DoModal(owner) != IDOK)
        return nullptr;
    return CreateNewCategory(owner, root, anchor, dlg.Request());
}

} // namespace dialogs
