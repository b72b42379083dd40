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
    oVoiceBook* tools = root.AddChild(L"Tools", KIND_ITEM | KIND_BOOK, 2, L"", L"", L"", L"", 0, 1);
    tools->AddChild(L"Notepad", KIND_ITEM | KIND_COMMAND, 0, L"notepad.exe", L"", L"", L"", 0, 1);
    root.AddChild(L"Web", KIND_ITEM | KIND_BOOK, 2, L"", L"", L"", L"", 0, 1);
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
