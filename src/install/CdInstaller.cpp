#include "Routes.h"

#include "GamePaths.h"

namespace InstallSearch::Routes {

void cdInstaller(Search& search, WindowsView& windows, const std::string& installFolder) {
    const auto candidates = GamePaths::candidateDirs(installFolder);
    // Another prefix without the value would give "\System\", the root of Linux's file system:
    // nothing of that prefix, and looked at already in the one in use.
    if (installFolder.empty() && !windows.inUse())
        search.skip(windows.label("registry Folder, HKLM 32-bit"),
                    std::string("HKLM\\") + GamePaths::InstallKeyPath + " Folder", "no such value");
    else
        search.lookAt(windows.label("registry Folder, HKLM 32-bit"),
                      windows.forPrograms(candidates[0]));
    for (std::size_t i = 1; i < candidates.size() && !search.found(); ++i)
        search.lookAt(windows.label("fixed folder"), windows.forPrograms(candidates[i]));
}

} // namespace InstallSearch::Routes
