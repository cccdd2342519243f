#include "install/Routes.h"

namespace InstallSearch::Routes {

void inHome(Search&) {
    // On Windows the game is where this Windows' installers put it: nothing more to look at.
}

} // namespace InstallSearch::Routes
