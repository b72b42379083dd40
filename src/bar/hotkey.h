#pragma once
// The global hotkey that opens the ToolBar menu, as stored in "TBHotKeyCode": the virtual
// key in the low word and the hotkey control's modifier bits above it.
#include <windows.h>

#include <cstdint>

namespace bar {

constexpr int kHotKeyId = 1;

struct HotKeyChord {
    bool active = false; // false: no hotkey
    UINT modifiers = 0;  // MOD_ bits for RegisterHotKey
    UINT key = 0;
};

// Zero or negative: no hotkey. Bit 16 Shift, 17 Ctrl, 18 Alt; the other high bits are ignored.
HotKeyChord HotKeyFromCode(int32_t code) noexcept;

} // namespace bar
