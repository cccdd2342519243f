#pragma once

#include <optional>
#include <string>

// Sets Startup::SystemDir to the game's System folder: the folder given with --system-dir,
// completed as the main menu's "Set" button completes a typed folder, or else the folder the
// main menu's automatic search finds (InstallSearch.h).
// Throws Failure (NoSystemFolder) when the folder holds no QLLoadouts.ini or the search finds
// none. A folder whose name Windows refuses (holding <>"|?* say) holds nothing.
void findSystemFolder(const std::optional<std::string>& typedFolder);
