#include "install/Routes.h"
#include "install/SteamLibraries.h"

namespace InstallSearch::Routes {

void steamForWindows(Search& search, WindowsView& windows) {
    using namespace Registry;
    // Steam keeps its folder for the user (with '/' and often in lower case); its installer
    // writes it for the machine too.
    auto steam = windows.registryFolder(search, "Steam", HKeyCurrentUser, View::Bits32,
                                        "Software\\Valve\\Steam", "SteamPath");
    if (!steam)
        steam = windows.registryFolder(search, "Steam", HKeyLocalMachine, View::Bits32,
                                       "SOFTWARE\\Valve\\Steam", "InstallPath");
    if (steam)
        SteamLibraries::lookIn(search, windows, windows.label("Steam"), *steam);
}

} // namespace InstallSearch::Routes
