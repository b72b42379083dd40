#include "prepared_data.h"

#include <gtest/gtest.h>

#include "lark_process.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "test_util.h"

namespace test {

std::wstring PrepareDataFile() {
    RemoveDataFolder();
    const std::wstring path = model::DataFilePath(model::kDataFileName); // makes the folders
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    oVoiceBook* tools = root.AddChild(CategoryFields(L"Tools"));
    tools->AddChild(ButtonFields(L"Notepad", L"notepad.exe"));
    root.AddChild(CategoryFields(L"Web"));
    ::SetLastError(ERROR_SUCCESS);
    if (!root.SaveFile(path)) {
        ReportSystemError("oVoiceBook::SaveFile(" + Narrow(path) + ")", ::GetLastError());
        return std::wstring();
    }
    return path;
}

void RemoveDataFolder() {
    const std::wstring folder = DataFolder();
    RemoveTree(folder);
    if (FileExists(folder))
        ReportSystemError("RemoveTree(" + Narrow(folder) + ")", ::GetLastError());
}

} // namespace test
