#pragma once

#include <array>
#include <functional>
#include <string>

// Where the main menu looks for the game's System folder, and how a typed folder is completed.
namespace GamePaths {

// The file whose presence makes a folder the System folder.
inline constexpr const char* TestFileName = "QLLoadouts.ini";

// The game's install folder as its installer records it in the registry (the value Folder of
// HKEY_LOCAL_MACHINE\SOFTWARE\Unreal Technology\Installed Apps\UnrealTournament), as
// bytes in the ANSI code page; empty when it cannot be read.
std::string readInstallFolder();

// The four folders the automatic search tries, in order. The install folder is joined to
// "\System\" exactly as it stands: no separator is added or removed. The install folder is
// text in the ANSI code page, as the registry gives it; the result is in this platform's path
// form (UTF-8 on Linux).
std::array<std::string, 4> candidateDirs(const std::string& installFolder);

// Completes a typed folder: a separator is appended when it does not end in one, then
// "system" and a separator when it does not already end in "\system\" (compared ignoring case).
// Windows-form text uses '\'; on Linux, text in POSIX form uses '/'.
std::string normaliseTypedPath(const std::string& typed);

// The same with a given separator.
std::string normaliseTypedPath(const std::string& typed, char separator);

// Index of the first candidate that holdsTestFile accepts, or -1. Later candidates are not tried.
int firstAcceptedCandidate(const std::array<std::string, 4>& candidates,
                           const std::function<bool(const std::string&)>& holdsTestFile);

} // namespace GamePaths
