#pragma once
// Long work (folder scans, file writes) run beside the window thread, which keeps handling
// its messages meanwhile, so every window of the program goes on painting and answering.
// The work produces plain values only: the tree and the windows stay with the window thread.
#include <windows.h>

#include <functional>

namespace setup {

enum class PumpedWorkEnd {
    Done,       // the work has finished; what it produced can be taken
    Quit,       // the program is quitting (the quit message is left for the main loop)
    WindowGone, // the window the work was for has been destroyed
};

// Runs `work` on a worker thread (with COM initialised there) and handles this thread's
// messages until it has finished, the program quits or `window` (when given) is destroyed.
// In the last two cases the work is left to finish on its own: everything it touches must
// be owned by the function object itself (shared state, not references to the caller's).
PumpedWorkEnd RunWhilePumping(std::function<void()> work, HWND window);

// Handles the messages already waiting (paints after a dialog closed, for example) without
// waiting for more. False when the program is quitting or `window` has been destroyed.
bool PumpWaitingMessages(HWND window);

} // namespace setup
