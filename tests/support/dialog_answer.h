#pragma once
// Finds a dialog or message box that code under test shows (in this process or another)
// and presses one of its buttons, the way a user answers it.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "test_util.h"

namespace test {

// What was seen of a dialog before it was answered.
struct SeenDialog {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text; // a message box's message (control 0xFFFF)
    bool hasYes = false, hasNo = false, hasOk = false, hasCancel = false;
    HICON icon = nullptr;   // a message box's icon, when it shows one
    bool inFront = false;   // the window at its centre is the dialog itself (none covers it)
    std::wstring coveredBy; // otherwise the caption of the window there
};

// The first visible top-level dialog-class window of process `pid` (0: this process) that
// has a button `buttonId`.
HWND FindDialogOf(DWORD pid, int buttonId);
SeenDialog DescribeDialog(HWND dialog);
// Presses the button `id` of `dialog` (posted, so it works across processes).
void PressButton(HWND dialog, int id);

// Waits on its own thread for a dialog of process `pid` with a button `buttonId` and
// presses it.
class DialogAnswerer {
public:
    // `prepare`, when given, acts on the dialog first (for example selects an item).
    explicit DialogAnswerer(int buttonId, DWORD pid = 0, DWORD timeoutMs = kPatientMs,
                            std::function<void(HWND)> prepare = {});
    ~DialogAnswerer(); // waits for the thread
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Waits for the thread; true when a dialog was found and answered.
    bool Finish();
    const SeenDialog& Seen() const { return seen_; }

private:
    std::thread thread_;
    SeenDialog seen_;
    std::atomic<bool> answered_{false};
};

// Presses `buttonId` on every such dialog of process `pid` that appears until it goes away
// (for code under test that may ask several times, such as each first run).
class DialogAutoAnswerer {
public:
    explicit DialogAutoAnswerer(int buttonId, DWORD pid = 0);
    ~DialogAutoAnswerer();
    DialogAutoAnswerer(const DialogAutoAnswerer&) = delete;
    DialogAutoAnswerer& operator=(const DialogAutoAnswerer&) = delete;
    int Answered() const { return answered_; }

private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
};

} // namespace test
