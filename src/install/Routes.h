#pragma once

#include "install/Search.h"
#include "install/WindowsView.h"

#include <string>
#include <vector>

// The places the game's installers put it, one route a file, in the order InstallSearch.h lists
// them. Each looks at its folders through the search, and stops once one has been found.
namespace InstallSearch::Routes {

// 1: the install folder from the registry (HKLM, 32-bit) and \System\, then the three fixed
// folders. installFolder is that value as start-up read it, for the system in use; another
// prefix's is read from that prefix.
void cdInstaller(Search& search, WindowsView& windows, const std::string& installFolder);
// a: the same value in HKLM's 64-bit view and in HKCU (32-bit, then 64-bit).
void otherRegistryViews(Search& search, WindowsView& windows);
// b: C:\UnrealTournament\System\.
void communityInstaller(Search& search, WindowsView& windows);
// c: GOG's registry key.
void gogRegistry(Search& search, WindowsView& windows);
// d: Steam's folder from the registry, and its libraries.
void steamForWindows(Search& search, WindowsView& windows);
// 1 and a to d, in order.
void inWindows(Search& search, WindowsView& windows, const std::string& installFolder);

// The user's folders on Linux.
struct Home {
    std::string home;       // $HOME
    std::string dataHome;   // ${XDG_DATA_HOME:-~/.local/share}
    std::string configHome; // ${XDG_CONFIG_HOME:-~/.config}
};

// e: Steam for Linux, from each of its usual folders; returns its libraries.
std::vector<std::string> steamForLinux(Search& search, const Home& home);
// f: the community's Linux build.
void communityLinuxBuild(Search& search, const Home& home);
// g: Heroic's list of GOG games.
void heroicGog(Search& search, const Home& home);
// h: the other Wine prefixes: Proton's for the game in each Steam library, then those of
// Lutris, Heroic, Bottles and PlayOnLinux.
void winePrefixes(Search& search, const Home& home, const std::vector<std::string>& steamLibraries);
// e to h, in order, on Linux; on Windows there is nothing beyond the system itself.
void inHome(Search& search);

} // namespace InstallSearch::Routes
