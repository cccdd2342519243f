#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the command line needs of the operating system's console: its arguments, its two output
// streams, and the form its paths and messages take.
//
// Arguments are UTF-8 text: on Linux as the shell passes them, on Windows taken from the wide
// command line so that any character survives. Output is UTF-8, lines ending in LF; on Windows a
// console shows it through the console's own wide-character output instead, so any code page
// the console uses shows every character.
namespace Console {

// The arguments after the program's name.
std::vector<std::string> arguments(int argc, char** argv);

// Writes UTF-8 text to standard output or standard error as it stands.
void writeOut(std::string_view text);
void writeError(std::string_view text);

// A folder named on the command line, as the game path the store opens (UTF-8, as every path
// inside the program): on Linux a relative folder is taken from the current one (in POSIX form);
// on Windows '/' counts as '\'.
std::string gamePathFromArgument(const std::string& folder);

} // namespace Console
