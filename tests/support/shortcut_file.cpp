#include "shortcut_file.h"

#include "framework/com.h"

namespace test {

bool WriteShortcut(const std::wstring& path, const ShortcutFields& fields) {
    fw::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.put_void())))
        return false;
    if (fields.idList)
        link->SetIDList(fields.idList);
    else
        link->SetPath(fields.target.c_str());
    link->SetArguments(fields.arguments.c_str());
    link->SetWorkingDirectory(fields.workDir.c_str());
    if (!fields.iconFile.empty())
        link->SetIconLocation(fields.iconFile.c_str(), fields.iconIndex);
    link->SetShowCmd(fields.showCmd);
    fw::ComPtr<IPersistFile> file = link.As<IPersistFile>();
    return file && SUCCEEDED(file->Save(path.c_str(), TRUE));
}

} // namespace test
