#pragma once
// Starts LarkB.exe as a real process and finds its bar window.
#include <windows.h>

#include <string>

#include "framework/handle.h"

namespace test {

class LarkProcess {
public:
    // `exePath` defaults to the LarkB.exe built beside the test program.
    explicit LarkProcess(std::wstring exePath = std::wstring());
    ~LarkProcess(); // terminates a process that is still running
    LarkProcess(const LarkProcess&) = delete;
    LarkProcess& operator=(const LarkProcess&) = delete;

    bool Start(const std::wstring& arguments = std::wstring());
    // The visible-or-hidden top-level window of this process titled "larkRunBar ".
    HWND WaitForBar(DWORD timeoutMs = 15000);
    HWND Bar() const { return bar_; }
    bool WaitForExit(DWORD timeoutMs);
    // Posts the Exit command (32774) to the bar and waits for the process to end.
    bool Exit(DWORD timeoutMs = 15000);
    bool IsRunning() const;
    DWORD ExitCode() const;
    DWORD Id() const { return pid_; }
    void Kill();

    static std::wstring DefaultExePath();

private:
    std::wstring exe_;
    fw::Handle process_;
    DWORD pid_ = 0;
    HWND bar_ = nullptr;
};

// Every top-level window titled exactly "larkRunBar " (of any process).
int CountBarWindows();
// Kills every LarkB process of this prefix still running (tests clean up after themselves).
void KillAllLarkProcesses();
// The data folder the program uses: %APPDATA%\Tarvo\LarkRunBar
std::wstring DataFolder();

} // namespace test

namespace test {
// Copies LarkB.exe (alone, without the template) into `folder` and returns the copy's path,
// so a start there runs the first-run set-up without questions.
std::wstring CopyProgramAlone(const std::wstring& folder);
} // namespace test
