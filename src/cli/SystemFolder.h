#pragma once

#include <optional>
#include <string>

// Sets Startup::SystemDir to the game's System folder: the folder given with --system-dir,
// completed as the main menu's "Set" button completes a typed folder, or else the first folder
// of the main menu's automatic search (the install folder from the registry, then the three
// fixed folders; on Linux inside the Wine prefix) that holds QLLoadouts.ini.
// Throws Failure: NoSystemFolder when the folder holds no QLLoadouts.ini or the search finds
// none; Refused when the given folder cannot be named in the ANSI code page.
void findSystemFolder(const std::optional<std::string>& typedFolder);
