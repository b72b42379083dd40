#pragma once
// Fixed text limits of the launcher: longer texts are cut here rather than overflowing.
#include <cstddef>
#include <string>

namespace shell {

// Buffers in UTF-16 units, terminator included.
constexpr size_t kPathUnits = 1024;         // resolved paths, expansions, display names
constexpr size_t kShortcutFieldUnits = 260; // each text read from a shortcut file
constexpr unsigned long kAppPathValueBytes = 1024;

// `text` cut so that it fits a buffer of `units` (at most units - 1 characters).
inline std::wstring CutToBuffer(std::wstring text, size_t units) {
    if (units == 0)
        return {};
    if (text.size() > units - 1)
        text.resize(units - 1);
    return text;
}

} // namespace shell
