#include "install/Routes.h"

namespace InstallSearch::Routes {

void gogRegistry(Search& search, WindowsView& windows) {
    // GOG's installer records each game by its number; Unreal Tournament GOTY is 1207658692.
    if (const auto folder = windows.registryFolder(search, "GOG", Registry::HKeyLocalMachine,
                                                   Registry::View::Bits32,
                                                   "SOFTWARE\\GOG.com\\Games\\1207658692", "path"))
        search.lookAt(windows.label("GOG"), windows.forPrograms(windows.join(*folder, "System\\")));
}

} // namespace InstallSearch::Routes
