#include "install/InstallSearch.h"

#include "install/Routes.h"

namespace InstallSearch {

void Routes::inWindows(Search& search, WindowsView& windows, const std::string& installFolder) {
    cdInstaller(search, windows, installFolder);
    using Route = void (*)(Search&, WindowsView&);
    for (const Route route : {Route(otherRegistryViews), Route(communityInstaller),
                              Route(gogRegistry), Route(steamForWindows)}) {
        if (search.found())
            return;
        route(search, windows);
    }
}

Result search(const std::string& installFolder) {
    Search search;
    WindowsView system = WindowsView::thisSystem();
    Routes::inWindows(search, system, installFolder);
    if (!search.found())
        Routes::inHome(search);
    return search.take();
}

} // namespace InstallSearch
