#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a desktop entry (a .desktop file in freedesktop.org's desktop entry format) says of
// the program it starts: the words of its command line and the folder it starts in.
namespace DesktopEntry {

struct Launch {
    // The Exec key's command line as its words, the string escapes (\s, \t, \\, ...) and the
    // quoting (double quotes as freedesktop.org's format has them; single quotes and a backslash
    // before a character, as entries written with a shell's quoting have them) undone, and the
    // field codes (%f, %U, ...) left out.
    std::vector<std::string> words;
    std::string path; // the Path key: the folder it starts in; empty when there is none
};

// The launch of the [Desktop Entry] group; nothing when the text has none with an Exec key.
std::optional<Launch> launchOf(std::string_view text);

} // namespace DesktopEntry
