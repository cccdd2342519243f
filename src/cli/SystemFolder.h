#pragma once

#include <optional>
#include <string>

// Sets Startup::SystemDir to the game's System folder: exactly the folder given with
// --system-dir, completed as the main menu's "Set" button completes a typed folder, nothing
// settled; or else the folder the main menu's automatic search finds and settles
// (InstallSearch.h), with Startup::GameSystemDir the install's when that is another: the
// settings files the folder lacks are read from there, and the first save copies them. Throws
// Failure (NoSystemFolder) when the folder holds no QLLoadouts.ini or the search finds none. A
// folder whose name Windows refuses (holding <>"|?* say) holds nothing.
void findSystemFolder(const std::optional<std::string>& typedFolder);

// Whether the program can save in the folder in Startup::SystemDir: nothing when it can, else
// the message that says why not and what to do about it.
std::optional<std::string> unwritableSettingsFolder();
