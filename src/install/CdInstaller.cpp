#include "install/Routes.h"

#include "install/GamePaths.h"

namespace InstallSearch::Routes {

void cdInstaller(Search& search, WindowsView& windows, const std::string& installFolder) {
    const char* const route = "registry Folder, HKLM 32-bit";
    const auto candidates = GamePaths::candidateDirs(installFolder);
    if (windows.inUse()) {
        search.lookAt(windows.label(route), candidates[0]);
    } else if (const auto folder = windows.registryFolder(
                   search, route, Registry::HKeyLocalMachine, Registry::View::Bits32,
                   GamePaths::InstallKeyPath, GamePaths::InstallValueName)) {
        // In another prefix a missing value would give "\System\", the root of Linux's files:
        // nothing of that prefix.
        search.lookAt(windows.label(route), windows.forPrograms(windows.join(*folder, "System\\")));
    }
    for (std::size_t i = 1; i < candidates.size() && !search.found(); ++i)
        search.lookAt(windows.label("fixed folder"), windows.forPrograms(candidates[i]));
}

} // namespace InstallSearch::Routes
