#pragma once
// Reads what lark_record_start.exe wrote about how it was started.
#include <windows.h>

#include <string>

#include "support/test_util.h"

namespace shelltest {

struct StartRecord {
    std::wstring commandLine;
    std::wstring workDir;
    int show = -2; // -1: started without a show state
};

// The helper program built beside the tests.
std::wstring HelperPath();
// Points the helper at a fresh record file (inherited through the environment).
void RecordInto(const std::wstring& file);
// Waits until the helper has written `file`.
bool WaitForRecord(const std::wstring& file, StartRecord& record,
                   DWORD timeoutMs = test::kPatientMs);
// Waits until no started helper runs any more and the foreground is no third process's
// window.
bool WaitForHelpersGone(DWORD barProcess, DWORD timeoutMs = test::kPatientMs);
// The arguments part of a command line: what follows the (possibly quoted) program.
std::wstring ArgumentsOf(const std::wstring& commandLine);
bool SamePath(std::wstring a, std::wstring b);

} // namespace shelltest
