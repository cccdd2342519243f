#include "install/LinuxPaths.h"
#include "install/Routes.h"

namespace InstallSearch::Routes {

void communityLinuxBuild(Search& search, const Home& home) {
    // Where the community's installer puts its Linux build of the game.
    search.lookAt("community Linux build",
                  LinuxPaths().forPrograms(home.dataHome + "/OldUnreal/UnrealTournament/System/"));
}

} // namespace InstallSearch::Routes
