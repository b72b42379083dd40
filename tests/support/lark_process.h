#pragma once
// Starts LarkB.exe as a real process and finds its bar window.
#include <windows.h>

#include <string>

#include "framework/handle.h"
#include "test_util.h"

namespace test {

class LarkProcess {
public:
    // `exePath` defaults to the LarkB.exe built beside the test program.
    explicit LarkProcess(std::wstring exePath = std::wstring());
    ~LarkProcess(); // terminates a process that is still running
    LarkProcess(const LarkProcess&) = delete;
    LarkProcess& operator=(const LarkProcess&) = delete;

    // A start that the system refuses is tried again a few times (a busy machine can make
    // Wine fail one); every refusal is reported with its system error.
    bool Start(const std::wstring& arguments = std::wstring());
    // The visible-or-hidden top-level window of this process titled "larkRunBar " that nothing
    // owns (its message boxes bear the same title).
    HWND WaitForBar(DWORD timeoutMs = kPatientMs);
    HWND Bar() const { return bar_; }
    // True once the bar's thread has handled everything sent or posted to it before (its
    // start-up included): a round trip through its message queue.
    bool WaitUntilIdle(DWORD timeoutMs = kPatientMs);
    bool WaitForExit(DWORD timeoutMs);
    // Posts the Exit command (32774) to the bar and waits for the process to end.
    bool Exit(DWORD timeoutMs = kPatientMs);
    bool IsRunning() const;
    DWORD ExitCode() const;
    DWORD Id() const { return pid_; }
    void Kill();
    // Why the last Start, WaitForBar, WaitUntilIdle, WaitForExit or Exit failed, with the
    // system error where there was one; empty after a success.
    const std::string& Problem() const { return problem_; }

    static std::wstring DefaultExePath();

private:
    void SetProblem(std::string text);

    std::wstring exe_;
    fw::Handle process_;
    DWORD pid_ = 0;
    HWND bar_ = nullptr;
    std::string problem_;
};

// Every top-level window titled exactly "larkRunBar " (of any process).
int CountBarWindows();
// Kills every LarkB process of this prefix still running and waits until they are gone
// (tests clean up after themselves).
void KillAllLarkProcesses();
// The data folder the program uses: %APPDATA%\Tarvo\LarkRunBar
std::wstring DataFolder();

} // namespace test

namespace test {
// Copies LarkB.exe (alone, without the template) into `folder` and returns the copy's path,
// so a start there runs the first-run set-up without questions. A failed copy is reported.
std::wstring CopyProgramAlone(const std::wstring& folder);
} // namespace test
