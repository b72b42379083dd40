#pragma once
// Fixed text limits of the launcher: longer texts are cut here rather than overflowing.
#include <cstddef>
#include <string>

namespace shell {

// Buffers in UTF-16 units, terminator included.
constexpr size_t kPathUnits = 1024;         // resolved paths, expansions, display names
constexpr size_t kShortcutFieldUnits = 260; // each text read from a shortcut file
constexpr unsigned long kAppPathValueBytes = 1024;

// The longest texts the shell's "open" takes, in UTF-16 units without the terminator, counted
// after the shell's own expansion of environment variables; longer ones are never handed to
// it (shell::ChooseShellRoute). Wine's shell copies any target into a MAX_PATH buffer
// unchecked (from about 1,000 units on a page fault ends the program), so there a web address
// longer than a path takes another way in.
constexpr size_t kShellPathMax = 259;        // a file or program: MAX_PATH less its terminator
constexpr size_t kShellWebAddressMax = 2083; // INTERNET_MAX_URL_LENGTH less its terminator
constexpr size_t kShellFolderMax = 258;      // a working folder; one more when it ends in '\'
constexpr size_t kShellArgumentsMax = 32243; // a command line (32,767) less two quoted paths
// Under Wine, a name beginning "www" that is not found becomes "http://" and the name in a
// buffer of 256 units.
constexpr size_t kWineWwwNameMax = 248;
// Under Wine, a web address reaches its handler in a command line of 1,024 units made from the
// scheme's command (at most 255 units, "%1" among them); a longer one is left out of it.
constexpr size_t kWineWebAddressMax = 770;

// `text` cut so that it fits a buffer of `units` (at most units - 1 characters).
inline std::wstring CutToBuffer(std::wstring text, size_t units) {
    if (units == 0)
        return {};
    if (text.size() > units - 1)
        text.resize(units - 1);
    return text;
}

} // namespace shell
