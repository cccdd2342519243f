#include "install/Routes.h"

namespace InstallSearch::Routes {

void communityInstaller(Search& search, WindowsView& windows) {
    // Where the community's installers of the whole game put it unless told otherwise.
    search.lookAt(windows.label("community installer"),
                  windows.forPrograms("C:\\UnrealTournament\\System\\"));
}

} // namespace InstallSearch::Routes
