// The places on Linux beyond Wine's drives where players have the game, or a Wine prefix of it.
#include "files/FileError.h"
#include "install/LinuxPaths.h"
#include "install/Routes.h"
#include "install/SmallFile.h"
#include "install/SteamLibraries.h"

#include <cstdlib>
#include <functional>
#include <nlohmann/json.hpp>

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
            search.note(Outcome::NoFolder, route, folder);
        else if (search.seenBefore(Search::Kind::SteamFolder, folder))
            search.note(Outcome::Repeated, route, folder);
        else
            for (auto& library : SteamLibraries::lookIn(search, LinuxPaths(), route, folder))
                libraries.push_back(std::move(library));
    }
    return libraries;
}

// The text of a member of a JSON object; empty when it is missing or not text.
std::string textOf(const nlohmann::json& object, const char* name) {
    const auto member = object.find(name);
    return member != object.end() && member->is_string() ? member->get<std::string>() : "";
}

// h: Heroic's list of the GOG games it installed, in its own folder of settings.
void heroicGog(Search& search, const std::string& route, const std::string& heroic) {
    const std::string list = heroic + "/gog_store/installed.json";
    std::string text;
    try {
        text = SmallFile::read(list);
    } catch (const FileError& error) {
        return search.skip(route, list, error.reason());
    }
    // Parsed without exceptions: a file that is not JSON is discarded whole. The list is the
    // member "installed" of the file's object (or, in some versions, the file's array).
    const auto json = nlohmann::json::parse(text, nullptr, false);
    const auto member = json.is_object() ? json.find("installed") : json.end();
    const nlohmann::json* games = member != json.end() ? &*member : &json;
    if (json.is_discarded() || !games->is_array())
        return search.skip(route, list, "not Heroic's list of installed games");
    for (const auto& game : *games) {
        if (!game.is_object() || textOf(game, "appName") != "1207658692")
            continue;
        const std::string folder = textOf(game, "install_path");
        if (!folder.starts_with('/'))
            return search.skip(route, list, "the game's install_path is not a whole path");
        return search.lookAt(route, folder + "/System/");
    }
    search.skip(route, list, "the game (appName 1207658692) is not in it");
}

} // namespace

void inHome(Search& search) {
    const std::string home = environment("HOME");
    if (home.empty())
        return search.skip("the home folder", "$HOME", "not set");
    const Home folders{home, xdgFolder("XDG_DATA_HOME", home, "/.local/share"),
                       xdgFolder("XDG_CONFIG_HOME", home, "/.config")};
    const auto libraries = steamForLinux(search, folders);
    const std::function<void()> routes[] = {
        // f: where the community's installer puts its Linux build of the game.
        [&] {
            search.lookAt("community Linux build",
                          folders.dataHome + "/OldUnreal/UnrealTournament/System/");
        },
        // g: a server that LinuxGSM installed, in its user's home.
        [&] { search.lookAt("LinuxGSM", home + "/serverfiles/System/"); },
        // h: Heroic, installed as a package or from Flathub (the Steam Deck's usual one).
        [&] { heroicGog(search, "Heroic (GOG)", folders.configHome + "/heroic"); },
        [&] {
            heroicGog(search, "Heroic (GOG, Flatpak)",
                      home + "/.var/app/com.heroicgameslauncher.hgl/config/heroic");
        },
        [&] { winePrefixes(search, folders, libraries); },
    };
    for (const auto& route : routes)
        if (!search.found())
            route();
}

} // namespace InstallSearch::Routes
