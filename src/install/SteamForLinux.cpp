#include "install/LinuxPaths.h"
#include "install/Routes.h"
#include "install/SteamLibraries.h"

#include <algorithm>
#include <filesystem>

namespace InstallSearch::Routes {

std::vector<std::string> steamForLinux(Search& search, const Home& home) {
    // Steam's own folder as Debian's package, Valve's installer, Flatpak and Snap make it; the
    // links in ~/.steam usually lead to one of the others, which is then looked in once.
    const char* const roots[] = {
        "/.local/share/Steam",
        "/.steam/steam",
        "/.steam/root",
        "/.steam/debian-installation",
        "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
        "/snap/steam/common/.local/share/Steam",
    };
    const LinuxPaths paths;
    std::vector<std::string> seen;
    std::vector<std::string> libraries;
    for (const char* root : roots) {
        if (search.found())
            break;
        const std::string folder = home.home + root;
        std::error_code error;
        if (!std::filesystem::is_directory(folder, error)) {
            search.note(Outcome::NoFolder, "Steam for Linux", folder);
            continue;
        }
        const std::string real = std::filesystem::canonical(folder, error).string();
        if (std::find(seen.begin(), seen.end(), real) != seen.end()) {
            search.note(Outcome::Repeated, "Steam for Linux", folder);
            continue;
        }
        seen.push_back(real);
        for (auto& library : SteamLibraries::lookIn(search, paths, "Steam for Linux", real))
            libraries.push_back(std::move(library));
    }
    return libraries;
}

} // namespace InstallSearch::Routes
