#pragma once

#include "install/Search.h"
#include "install/WindowsView.h"

#include <string>
#include <vector>

// The places the game's installers put it, in the order InstallSearch.h lists them: one table of
// routes for a Windows (WindowsRoutes.cpp), one for the user's folders on Linux
// (HomeRoutes_posix.cpp). Each route looks at its folders through the search, and stops once one
// has been found.
namespace InstallSearch::Routes {

// 1 and a to d, in order, in this Windows or a Wine prefix. installFolder is the registry's
// install folder as start-up read it, for the system in use; another prefix's is read from that
// prefix.
void inWindows(Search& search, WindowsView& windows, const std::string& installFolder);

// The user's folders on Linux.
struct Home {
    std::string home;       // $HOME
    std::string dataHome;   // ${XDG_DATA_HOME:-~/.local/share}
    std::string configHome; // ${XDG_CONFIG_HOME:-~/.config}
};

// i: the other Wine prefixes: Proton's for the game in each Steam library, then those of Lutris,
// Heroic, Bottles and PlayOnLinux.
void winePrefixes(Search& search, const Home& home, const std::vector<std::string>& steamLibraries);

// e to i, in order, on Linux; on Windows there is nothing beyond the system itself.
void inHome(Search& search);

} // namespace InstallSearch::Routes
