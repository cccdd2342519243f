#include "install/Routes.h"

#include <cstdlib>

namespace InstallSearch::Routes {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// An XDG folder: the variable's value when it is a whole path, else its default in the home.
std::string xdgFolder(const char* variable, const std::string& home, const char* fallback) {
    const std::string value = environment(variable);
    return value.starts_with('/') ? value : home + fallback;
}

} // namespace

void inHome(Search& search) {
    const std::string home = environment("HOME");
    if (home.empty())
        return search.skip("the home folder", "$HOME", "not set");
    const Home folders{home, xdgFolder("XDG_DATA_HOME", home, "/.local/share"),
                       xdgFolder("XDG_CONFIG_HOME", home, "/.config")};
    const auto libraries = steamForLinux(search, folders);
    using Route = void (*)(Search&, const Home&);
    for (const Route route : {Route(communityLinuxBuild), Route(heroicGog)}) {
        if (search.found())
            return;
        route(search, folders);
    }
    if (!search.found())
        winePrefixes(search, folders, libraries);
}

} // namespace InstallSearch::Routes
