// Heroic's records of the games it knows: its GOG list, the games added to it by hand, each
// game's Wine prefix and its folder of prefixes. Natively its folder of settings is
// ${XDG_CONFIG_HOME:-~/.config}/heroic; from Flathub, ~/.var/app/com.heroicgameslauncher.hgl/
// config/heroic.
#include "install/HomeRoutes.h"
#include "install/JsonFile.h"
#include "platform/AsciiCase.h"
#include "platform/NativeGame.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace InstallSearch::Routes {

namespace {

// Whether a program's file name is the game's: its Windows program, or a native build's.
bool isGameProgram(const std::string& fileName) {
    return AsciiCase::equalIgnoringCase(fileName, "UnrealTournament.exe") ||
           NativeGame::isProgramName(fileName);
}

} // namespace

void heroicGog(HomeSearch& home, const std::string& route, const std::string& heroic) {
    const std::string list = heroic + "/gog_store/installed.json";
    const auto json = JsonFile::read(home.search, route, list);
    if (!json)
        return;
    // The list is the member "installed" of the file's object (or, in some versions, the file's
    // array).
    const auto member = json->is_object() ? json->find("installed") : json->end();
    const nlohmann::json& games = member != json->end() ? *member : *json;
    if (!games.is_array())
        return home.search.skip(route, list, "not Heroic's list of installed games");
    for (const auto& game : games) {
        if (JsonFile::textOf(game, "appName") != "1207658692")
            continue;
        const std::string folder = JsonFile::textOf(game, "install_path");
        if (!folder.starts_with('/'))
            return home.search.skip(route, list, "the game's install_path is not a whole path");
        return home.search.lookAt(route, folder + "/System/");
    }
    home.search.skip(route, list, "the game (appName 1207658692) is not in it");
}

void heroicSideloaded(HomeSearch& home, const std::string& route, const std::string& heroic) {
    const std::string library = heroic + "/sideload_apps/library.json";
    const auto json = JsonFile::read(home.search, route, library);
    if (!json)
        return;
    const auto games = json->is_object() ? json->find("games") : json->end();
    if (games == json->end() || !games->is_array())
        return home.search.skip(route, library, "not Heroic's list of games added by hand");
    // Heroic keeps the program each game starts (install.executable) and its folder
    // (folder_name): the game's own program is in the System folder, any other (a script of
    // the player's) in the game's folder.
    for (const auto& game : *games) {
        const auto install = game.is_object() ? game.find("install") : game.end();
        const fs::path program =
            install != game.end() ? JsonFile::textOf(*install, "executable") : "";
        const std::string folder = JsonFile::textOf(game, "folder_name");
        if (program.is_absolute() && isGameProgram(program.filename().string()))
            home.search.lookAt(route, program.parent_path().string() + "/");
        else if (folder.starts_with('/'))
            home.search.lookAt(route, folder + "/System/");
    }
}

void heroicGamePrefixes(HomeSearch& home, const std::string& route, const std::string& heroic) {
    const auto files = entriesIn(home.search, route, heroic + "/GamesConfig");
    if (!files)
        return;
    // Each file holds its game's settings under the game's name.
    for (const auto& file : *files) {
        if (file.extension() != ".json")
            continue; // its log
        const auto json = JsonFile::read(home.search, route, file.string());
        if (json && json->is_object())
            for (const auto& settings : *json)
                if (const std::string prefix = JsonFile::textOf(settings, "winePrefix");
                    prefix.starts_with('/'))
                    home.prefixes.lookIn(route, prefix);
    }
}

void heroicDefaultPrefixes(HomeSearch& home, const std::string& route, const std::string& heroic) {
    const auto json = JsonFile::read(home.search, route, heroic + "/config.json");
    if (!json)
        return;
    const auto settings = json->is_object() ? json->find("defaultSettings") : json->end();
    if (settings == json->end())
        return home.search.skip(route, heroic + "/config.json", "no defaultSettings in it");
    // The folder new prefixes go in (defaultWinePrefix; defaultWinePrefixDir in newer versions),
    // and the prefix a game without one of its own runs in (winePrefix).
    for (const char* name : {"defaultWinePrefixDir", "defaultWinePrefix"})
        if (const std::string folder = JsonFile::textOf(*settings, name); folder.starts_with('/'))
            home.prefixes.lookInPrefixOrEachIn(route, folder);
    if (const std::string prefix = JsonFile::textOf(*settings, "winePrefix");
        prefix.starts_with('/'))
        home.prefixes.lookIn(route, prefix);
}

} // namespace InstallSearch::Routes
