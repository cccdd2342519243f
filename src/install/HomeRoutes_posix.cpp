// The places on Linux beyond Wine's drives where players have the game, or a Wine prefix of it:
// one table, in the order of InstallSearch.h.
#include "install/HomeRoutes.h"
#include "install/LinuxPaths.h"
#include "install/Routes.h"
#include "install/SteamLibraries.h"
#include "platform/FolderIdentity.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace fs = std::filesystem;

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

// The system's data folders, ${XDG_DATA_DIRS:-/usr/local/share:/usr/share}: the whole paths in
// it, in its order.
std::vector<std::string> dataDirs() {
    std::string list = environment("XDG_DATA_DIRS");
    if (list.empty())
        list = "/usr/local/share:/usr/share";
    std::vector<std::string> folders;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        if (std::string folder = list.substr(start, end - start); folder.starts_with('/'))
            folders.push_back(std::move(folder));
        start = end + 1;
    }
    return folders;
}

// e: Steam for Linux from each of its usual folders: Debian's package, Valve's installer, Flatpak
// and Snap. The links in ~/.steam usually lead to one of the others, which is then looked in once.
// Returns the libraries looked in.
std::vector<std::string> steamForLinux(Search& search, const Home& home) {
    const char* const roots[] = {
        "/.local/share/Steam",
        "/.steam/steam",
        "/.steam/root",
        "/.steam/debian-installation",
        "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
        "/snap/steam/common/.local/share/Steam",
    };
    const char* const route = "Steam for Linux";
    std::vector<std::string> libraries;
    for (const char* root : roots) {
        const std::string folder = home.home + root;
        if (search.found())
            break;
        if (!folderIdentity(folder))
            search.missing(route, folder, folder);
        else if (search.seenBefore(Search::Kind::SteamFolder, folder))
            search.note(Outcome::Repeated, route, folder);
        else
            for (auto& library : SteamLibraries::lookIn(search, LinuxPaths(), route, folder))
                libraries.push_back(std::move(library));
    }
    return libraries;
}

const char* const HeroicFlatpak = "/.var/app/com.heroicgameslauncher.hgl/config/heroic";
const char* const LutrisFlatpak = "/.var/app/net.lutris.Lutris";
const char* const BottlesFlatpak = "/.var/app/com.usebottles.bottles/data/bottles";

// f to p: each route of the table, after Steam for Linux (e), which gives them its libraries.
using Route = std::function<void(HomeSearch&)>;

// Heroic's places in its native and its Flathub folder of settings.
Route inEachHeroic(const char* route,
                   void (*places)(HomeSearch&, const std::string&, const std::string&)) {
    return [=](HomeSearch& s) {
        places(s, route, s.folders.configHome + "/heroic");
        places(s, std::string(route) + ", Flatpak", s.folders.home + HeroicFlatpak);
    };
}

const Route HomeTable[] = {
    // f: where the community's installer puts its Linux build of the game.
    [](HomeSearch& s) {
        s.search.lookAt("community Linux build",
                        s.folders.dataHome + "/OldUnreal/UnrealTournament/System/");
    },
    // g: a server that LinuxGSM installed, in its user's home.
    [](HomeSearch& s) { s.search.lookAt("LinuxGSM", s.folders.home + "/serverfiles/System/"); },
    // h: Heroic's GOG list, installed as a package or from Flathub (the Steam Deck's usual one).
    inEachHeroic("Heroic (GOG)", heroicGog),
    // i: the other Wine prefixes: Proton's for the game in each Steam library, then Lutris' (a
    // game's folder is its prefix; ~/Games unless its settings name another, game_path, which
    // newer versions keep in the data folder), Heroic's, Bottles' (in its data folder unless
    // its data.yml names another) and PlayOnLinux's.
    [](HomeSearch& s) {
        for (const auto& library : s.steamLibraries)
            s.prefixes.lookIn("Proton", fs::path(library) / "steamapps/compatdata/13240");
        s.prefixes.lookInEachIn("Lutris", s.folders.home + "/Games");
        for (const auto& folder : {s.folders.configHome, s.folders.dataHome})
            s.prefixes.lookInEachNamedBy("Lutris (game_path)", folder + "/lutris/system.yml",
                                         {"system", "game_path"});
        s.prefixes.lookInEachIn("Heroic", s.folders.home + "/Games/Heroic/Prefixes/default");
        const std::string flatpakBottles = s.folders.home + BottlesFlatpak;
        s.prefixes.lookInEachIn("Bottles", s.folders.dataHome + "/bottles/bottles");
        s.prefixes.lookInEachIn("Bottles (Flatpak)", flatpakBottles + "/bottles");
        for (const auto& folder : {s.folders.dataHome + "/bottles", flatpakBottles})
            s.prefixes.lookInEachNamedBy("Bottles (custom_bottles_path)", folder + "/data.yml",
                                         {"custom_bottles_path"});
        s.prefixes.lookInEachIn("PlayOnLinux", s.folders.home + "/.PlayOnLinux/wineprefix");
    },
    // j: Lutris from Flathub, whose settings are in its own folders (its ~/Games is the same).
    [](HomeSearch& s) {
        for (const char* folder : {"/config/lutris", "/data/lutris"})
            s.prefixes.lookInEachNamedBy("Lutris (game_path, Flatpak)",
                                         s.folders.home + LutrisFlatpak + folder + "/system.yml",
                                         {"system", "game_path"});
    },
    // k: every game Lutris' database knows, wherever it put it.
    [](HomeSearch& s) {
        lutrisDatabase(s, "Lutris (pga.db)", s.folders.dataHome + "/lutris/pga.db");
        lutrisDatabase(s, "Lutris (pga.db, Flatpak)",
                       s.folders.home + LutrisFlatpak + "/data/lutris/pga.db");
    },
    // l: Heroic's games added by hand, each game's prefix and its folder of prefixes.
    inEachHeroic("Heroic (added by hand)", heroicSideloaded),
    inEachHeroic("Heroic (game's winePrefix)", heroicGamePrefixes),
    inEachHeroic("Heroic (defaultWinePrefix)", heroicDefaultPrefixes),
    // m: every Proton prefix of each Steam library: a game added to Steam by hand runs in the
    // prefix of its shortcut's number.
    [](HomeSearch& s) {
        for (const auto& library : s.steamLibraries)
            s.prefixes.lookInEachIn("Proton (every prefix)",
                                    fs::path(library) / "steamapps/compatdata");
    },
    // n: the desktop entries that start the game, the user's first, then the system's: the
    // community's installer writes one wherever it was told to put the game.
    [](HomeSearch& s) {
        desktopEntries(s, "desktop entries", s.folders.dataHome + "/applications");
        for (const auto& folder : s.folders.dataDirs)
            desktopEntries(s, "desktop entries", folder + "/applications");
    },
    // o: Minigalaxy's GOG games.
    minigalaxy,
    // p: where the older Linux builds of the game install it, for all users or for one.
    [](HomeSearch& s) {
        s.search.lookAt("older Linux build", "/usr/local/games/ut/System/");
        s.search.lookAt("older Linux build", s.folders.home + "/.local/games/ut/System/");
    },
};

} // namespace

void inHome(Search& search) {
    const std::string home = environment("HOME");
    if (home.empty())
        return search.skip("the home folder", "$HOME", "not set");
    HomeSearch s{search,
                 {home, xdgFolder("XDG_DATA_HOME", home, "/.local/share"),
                  xdgFolder("XDG_CONFIG_HOME", home, "/.config"), dataDirs()},
                 WinePrefixes(search),
                 {}};
    s.steamLibraries = steamForLinux(search, s.folders);
    for (const auto& route : HomeTable)
        if (!search.found())
            route(s);
}

} // namespace InstallSearch::Routes
