#pragma once

#include <array>
#include <string>

// Where the main menu looks for the game's System folder, and how a typed folder is completed.
namespace GamePaths {

// Where the game's installers record its folder: the value Folder of this key.
inline constexpr const char* InstallKeyPath =
    "SOFTWARE\\Unreal Technology\\Installed Apps\\UnrealTournament";
inline constexpr const char* InstallValueName = "Folder";

// The file whose presence makes a folder the System folder.
inline constexpr const char* TestFileName = "QLLoadouts.ini";

// The game's install folder as its installer records it in the registry (the value Folder of
// HKEY_LOCAL_MACHINE\SOFTWARE\Unreal Technology\Installed Apps\UnrealTournament, in the
// registry's 32-bit view), as UTF-8; empty when it cannot be read.
std::string readInstallFolder();

// The four folders the automatic search tries, in order. The install folder is joined to
// "\System\" exactly as it stands: no separator is added or removed.
std::array<std::string, 4> candidateDirs(const std::string& installFolder);

// Completes a typed folder: a separator is appended when it does not end in one, then
// "system" and a separator when it does not already end in "\system\", "\system64\" or
// "\systemarm64\" (compared ignoring case).
// Windows-form text uses '\'; on Linux, text in POSIX form uses '/'.
std::string normaliseTypedPath(const std::string& typed);

// The same with a given separator.
std::string normaliseTypedPath(const std::string& typed, char separator);

} // namespace GamePaths
