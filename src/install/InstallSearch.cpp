#include "install/InstallSearch.h"

#include "install/Routes.h"
#include "install/SettingsFolder.h"

namespace InstallSearch {

Result search(const std::string& installFolder) {
    Search search;
    WindowsView system = WindowsView::thisSystem();
    Routes::inWindows(search, system, installFolder);
    if (!search.found())
        Routes::inHome(search);
    Result result = search.take();
    SettingsFolder::settle(result);
    return result;
}

} // namespace InstallSearch
