#include "install/Routes.h"

#include "install/GamePaths.h"

namespace InstallSearch::Routes {

void otherRegistryViews(Search& search, WindowsView& windows) {
    using namespace Registry;
    const struct {
        RootKey root;
        View view;
        const char* route;
    } places[] = {
        {HKeyLocalMachine, View::Bits64, "registry Folder, HKLM 64-bit"},
        {HKeyCurrentUser, View::Bits32, "registry Folder, HKCU 32-bit"},
        {HKeyCurrentUser, View::Bits64, "registry Folder, HKCU 64-bit"},
    };
    for (const auto& place : places) {
        if (search.found())
            return;
        if (const auto folder =
                windows.registryFolder(search, place.route, place.root, place.view,
                                       GamePaths::InstallKeyPath, GamePaths::InstallValueName))
            search.lookAt(windows.label(place.route),
                          windows.forPrograms(windows.join(*folder, "System\\")));
    }
}

} // namespace InstallSearch::Routes
