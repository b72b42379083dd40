#include "bar/hotkey.h"

namespace bar {

HotKeyChord HotKeyFromCode(int32_t code) noexcept {
    HotKeyChord chord;
    if (code <= 0)
        return chord;
    const uint32_t v = static_cast<uint32_t>(code);
    chord.active = true;
    if (v & 0x40000)
        chord.modifiers |= MOD_ALT;
    if (v & 0x20000)
        chord.modifiers |= MOD_CONTROL;
    if (v & 0x10000)
        chord.modifiers |= MOD_SHIFT;
    chord.key = v & 0xFFFF;
    return chord;
}

} // namespace bar
