#pragma once

#include "install/Search.h"
#include "install/WinePrefixes.h"

#include <string>
#include <vector>

// What the routes of the Linux table (HomeRoutes_posix.cpp) share, and the routes that read
// another program's records of where it put the game: Heroic's (HeroicRoutes.cpp), and Lutris'
// database, Minigalaxy's settings and the desktop entries (LauncherRoutes.cpp).
namespace InstallSearch::Routes {

// The user's folders on Linux.
struct Home {
    std::string home;                  // $HOME
    std::string dataHome;              // ${XDG_DATA_HOME:-~/.local/share}
    std::string configHome;            // ${XDG_CONFIG_HOME:-~/.config}
    std::vector<std::string> dataDirs; // ${XDG_DATA_DIRS:-/usr/local/share:/usr/share}
};

// One search on Linux as the routes go through it.
struct HomeSearch {
    Search& search;
    Home folders;
    WinePrefixes prefixes;
    std::vector<std::string> steamLibraries; // the Steam for Linux libraries looked in
};

// Heroic, in its folder of settings (heroic, natively or from Flathub):
// its list of the GOG games it installed (gog_store/installed.json);
void heroicGog(HomeSearch& home, const std::string& route, const std::string& heroic);
// the games added to it by hand (sideload_apps/library.json), by the game's program or folder;
void heroicSideloaded(HomeSearch& home, const std::string& route, const std::string& heroic);
// each game's own Wine prefix (winePrefix in GamesConfig/<game>.json);
void heroicGamePrefixes(HomeSearch& home, const std::string& route, const std::string& heroic);
// the folder where it makes new prefixes and its default prefix (config.json).
void heroicDefaultPrefixes(HomeSearch& home, const std::string& route, const std::string& heroic);

// Each game Lutris' database (pga.db) lists as installed: its prefix, or its System folder.
void lutrisDatabase(HomeSearch& home, const std::string& route, const std::string& database);
// Each game in Minigalaxy's folder of games, and the Wine prefix it keeps in a Windows game's.
void minigalaxy(HomeSearch& home);
// Each desktop entry in an applications folder whose command line starts the game.
void desktopEntries(HomeSearch& home, const std::string& route, const std::string& applications);

} // namespace InstallSearch::Routes
