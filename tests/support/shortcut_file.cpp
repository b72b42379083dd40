#include "shortcut_file.h"

#include "framework/com.h"

namespace test {

bool WriteShortcut(const std::wstring& path, const ShortcutSpec& spec) {
    fw::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.put_void())))
        return false;
    if (spec.idList)
        link->SetIDList(spec.idList);
    else
        link->SetPath(spec.target.c_str());
    link->SetArguments(spec.arguments.c_str());
    link->SetWorkingDirectory(spec.workDir.c_str());
    if (!spec.iconFile.empty())
        link->SetIconLocation(spec.iconFile.c_str(), spec.iconIndex);
    link->SetShowCmd(spec.showCmd);
    fw::ComPtr<IPersistFile> file = link.As<IPersistFile>();
    return file && SUCCEEDED(file->Save(path.c_str(), TRUE));
}

} // namespace test
