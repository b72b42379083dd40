#pragma once
// Drives modal dialogs of this process the way a user does: a script on a second thread
// waits for each window, fills in controls, presses buttons and answers message boxes while
// the test thread runs the dialog.
#include <windows.h>

#include <functional>
#include <string>

#include "support/dialog_answer.h"

namespace script {

constexpr DWORD kWaitMs = 60000; // generous: the machine running the tests is busy

// Runs `open` on this thread (it shows a modal dialog) while `drive` runs on another one.
// When `drive` ends, every dialog still open is cancelled so that `open` returns.
void Run(const std::function<void()>& open, const std::function<void()>& drive);

// The same for a dialog that `drive` gets once it shows with `caption`.
void RunDialog(const std::wstring& caption, const std::function<void()>& open,
               const std::function<void(HWND)>& drive, HWND owner = nullptr);

// The visible dialog of this process with `caption` (and owned by `owner` when given);
// null when none appeared in time.
HWND WaitForDialog(const std::wstring& caption, HWND owner = nullptr);
// A message box owned by `owner`, answered with `button`; what it said. Empty when none
// came in time.
test::SeenDialog AnswerMessageBox(HWND owner, int button = IDOK);
// The system's file-open dialog owned by `owner`, answered with `path`.
bool AnswerFileOpen(HWND owner, const std::wstring& path);
// The shell's folder chooser owned by `owner`: `path` (or, in a chooser with a root of its
// own, the root's child item `child`) selected and OK pressed; Cancel when both are empty.
bool AnswerFolderChooser(HWND owner, const std::wstring& path, const std::wstring& child = {});

// Sent (the call returns once the dialog has handled it): for buttons that open no window.
void Click(HWND dialog, int id);
// Posted: for buttons that open another window.
void Press(HWND dialog, int id);
void SetText(HWND dialog, int id, const std::wstring& text);
std::wstring Text(HWND window);
std::wstring Text(HWND dialog, int id);
// Types `text` into an edit control (or a combo box's edit field) as keystrokes.
void Type(HWND dialog, int id, const std::wstring& text);
// The window with the keyboard focus in the dialog's thread.
HWND Focus(HWND dialog);
// Waits until the window is gone.
bool WaitGone(HWND window);

} // namespace script
