#pragma once

#include "install/PathSpace.h"
#include "install/Search.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Steam's libraries and the game's folder in them, the same for Steam on Windows (in this
// Windows or a Wine prefix) and Steam for Linux.
namespace SteamLibraries {

// The libraries a steamapps/libraryfolders.vdf lists, in its order: each "path" of a numbered
// block (Steam's form since 2021), or a numbered key's own text (the form before). Nothing when
// the text is not KeyValues.
std::optional<std::vector<std::string>> listed(std::string_view libraryFolders);

// The folder below steamapps/common that an appmanifest_13240.acf gives the game (installdir).
// Nothing when the text is not KeyValues or names no plain folder name.
std::optional<std::string> installDir(std::string_view appManifest);

// Looks at the game's System folder in Steam's own folder and in every library it lists
// (steamapps/libraryfolders.vdf, else config/libraryfolders.vdf), each once, and at the System
// folders of the native builds Luxtorpeda put in the game's folder (linuxdata-*). Returns the
// libraries looked in, as the system opens them (their spelling on disk).
std::vector<std::string> lookIn(InstallSearch::Search& search,
                                const InstallSearch::PathSpace& space, const std::string& route,
                                const std::string& steamFolder);

} // namespace SteamLibraries
