// The places where the game's installers put it in a Windows: this one, or a Wine prefix.
#include "install/GamePaths.h"
#include "install/Routes.h"
#include "install/SteamLibraries.h"

namespace InstallSearch::Routes {

namespace {

using namespace Registry;

// The folder a registry value names, followed by \System\, looked at.
void lookAtRegistryFolder(Search& search, WindowsView& windows, const char* route, RootKey root,
                          View view, const std::string& key, const std::string& value) {
    if (const auto folder = windows.registryFolder(search, route, root, view, key, value))
        search.lookAt(windows.label(route), windows.forPrograms(windows.join(*folder, "System\\")));
}

// The install folder from the registry (HKLM, 32-bit) and \System\, then the three fixed
// folders. installFolder is that value as start-up read it, for the system in use; another
// prefix's is read from that prefix. When start-up read none, the registry is asked why, so that
// a missing value reads as on every other registry route (no "\System\" at the root of a drive
// is looked at for it).
void cdInstaller(Search& search, WindowsView& windows, const std::string& installFolder) {
    const char* const route = "registry Folder, HKLM 32-bit";
    const auto candidates = GamePaths::candidateDirs(installFolder);
    if (windows.inUse() && !installFolder.empty())
        search.lookAt(windows.label(route), candidates[0]);
    else
        lookAtRegistryFolder(search, windows, route, HKeyLocalMachine, View::Bits32,
                             GamePaths::InstallKeyPath, GamePaths::InstallValueName);
    for (std::size_t i = 1; i < candidates.size() && !search.found(); ++i)
        search.lookAt(windows.label("fixed folder"), windows.forPrograms(candidates[i]));
}

// The same value in HKLM's 64-bit view and in HKCU (32-bit, then 64-bit).
void otherRegistryViews(Search& search, WindowsView& windows) {
    const struct {
        RootKey root;
        View view;
        const char* route;
    } places[] = {
        {HKeyLocalMachine, View::Bits64, "registry Folder, HKLM 64-bit"},
        {HKeyCurrentUser, View::Bits32, "registry Folder, HKCU 32-bit"},
        {HKeyCurrentUser, View::Bits64, "registry Folder, HKCU 64-bit"},
    };
    for (const auto& place : places)
        if (!search.found())
            lookAtRegistryFolder(search, windows, place.route, place.root, place.view,
                                 GamePaths::InstallKeyPath, GamePaths::InstallValueName);
}

// Where the community's installers of the whole game put it unless told otherwise.
void communityInstaller(Search& search, WindowsView& windows) {
    search.lookAt(windows.label("community installer"),
                  windows.forPrograms("C:\\UnrealTournament\\System\\"));
}

// GOG's installer records each game by its number; Unreal Tournament GOTY is 1207658692.
void gogRegistry(Search& search, WindowsView& windows) {
    lookAtRegistryFolder(search, windows, "GOG", HKeyLocalMachine, View::Bits32,
                         "SOFTWARE\\GOG.com\\Games\\1207658692", "path");
}

// Steam keeps its folder for the user (with '/' and often in lower case); its installer writes it
// for the machine too. The game is in its libraries.
void steamForWindows(Search& search, WindowsView& windows) {
    auto steam = windows.registryFolder(search, "Steam", HKeyCurrentUser, View::Bits32,
                                        "Software\\Valve\\Steam", "SteamPath");
    if (!steam)
        steam = windows.registryFolder(search, "Steam", HKeyLocalMachine, View::Bits32,
                                       "SOFTWARE\\Valve\\Steam", "InstallPath");
    if (steam)
        SteamLibraries::lookIn(search, windows, windows.label("Steam"), *steam);
}

} // namespace

void inWindows(Search& search, WindowsView& windows, const std::string& installFolder) {
    cdInstaller(search, windows, installFolder);
    for (const auto route : {otherRegistryViews, communityInstaller, gogRegistry, steamForWindows})
        if (!search.found())
            route(search, windows);
}

} // namespace InstallSearch::Routes
