#include "dialogs/new_category.h"

#include <memory>

#include "dialogs/button_values.h"
#include "dialogs/new_program_book_dlg.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "model/voice_book.h"
#include "resource.h"
#include "setup/first_scan_dlg.h"
#include "setup/pumped_fill.h"
#include "setup/node_values.h"
#include "shell/messages.h"

namespace dialogs {
namespace {

void Refuse(HWND owner, UINT message) {
    shell::ShowMessage(owner, fw::LoadResString(message), MB_OK | MB_ICONINFORMATION);
}

// Reads a folder beside the window thread while the progress window names the category;
// null when the program ends meanwhile.
template <class F>
std::shared_ptr<oVoiceBook> FillWithProgress(HWND owner, const std::wstring& name, F read) {
    CFirstScanDlg progress;
    progress.SetText(
        fw::FormatText(fw::LoadResString(IDS_REGISTERING_GROUP).c_str(), name.c_str()));
    progress.Create(owner);
    std::shared_ptr<oVoiceBook> fresh = read(owner ? ::GetAncestor(owner, GA_ROOT) : nullptr);
    if (fresh)
        progress.Destroy();
    return fresh;
}

// The category made once its folder has been read: the anchor is looked up again, as the
// user may have changed the tree while the folder was read.
oVoiceBook* AddFilledCategory(oVoiceBook& root, uint64_t anchorSerial, const std::wstring& name,
                              const std::shared_ptr<oVoiceBook>& fresh) {
    if (!fresh)
        return nullptr;
    oVoiceBook* anchor =
        anchorSerial ? static_cast<oVoiceBook*>(root.FindBySerial(anchorSerial)) : nullptr;
    oVoiceBook* category = AddNewCategory(root, anchor, name);
    setup::AdoptChildren(*fresh, *category);
    return category;
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
    const NodeRecordFields fields =
        NewNodeFields(name, setup::kCategoryKind, setup::kSubFolderFlags);
    if (anchor && anchor != &root && anchor->Parent() && anchor->IsItem() &&
        (anchor->m_nKind & KIND_BOOK))
        return anchor->AddAfter(fields);
    return root.AddChild(fields);
}

oVoiceBook* CreateNewCategory(HWND owner, oVoiceBook& root, oVoiceBook* anchor,
                              NewCategoryRequest& request) {
    const uint64_t anchorSerial = anchor ? anchor->m_nSerial : 0;
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
        auto fresh = FillWithProgress(owner, name, [&](HWND window) {
            return setup::FillFromFolderWhilePumping(request.groupPath, request.scanSubFolders,
                                                     window);
        });
        oVoiceBook* category = AddFilledCategory(root, anchorSerial, name, fresh);
        if (category) {
            category->SetCommand(request.groupPath.c_str());
            category->m_bScanSubFolders = request.scanSubFolders ? 1 : 0;
        }
        return category;
    }
    case kVirtualCategory:
    case kFolderCategory: {
        const bool virtualFolder = request.type == kVirtualCategory;
        const std::wstring name =
            virtualFolder ? request.virtualFolderName : TrimBlanks(request.folderName);
        fw::Pidl list;
        if (virtualFolder) {
            if (request.virtualFolderId < 0 ||
                FAILED(::SHGetSpecialFolderLocation(owner, request.virtualFolderId, list.put())))
                list.reset();
        } else if (!name.empty()) {
            list = std::move(request.folderList);
        }
        if (!list) {
            Refuse(owner, IDS_NO_FOLDER);
            return nullptr;
        }
        auto fresh = FillWithProgress(owner, name, [&](HWND window) {
            return setup::FillFromShellFolderWhilePumping(list.get(), window);
        });
        oVoiceBook* category = AddFilledCategory(root, anchorSerial, name, fresh);
        if (category)
            category->SetPidl(std::move(list));
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
