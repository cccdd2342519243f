#include "files/FileError.h"
#include "install/LinuxPaths.h"
#include "install/Routes.h"
#include "install/SmallFile.h"

#include <nlohmann/json.hpp>

namespace InstallSearch::Routes {

namespace {

const char* const Route = "Heroic (GOG)";

// The text of a member of a JSON object; empty when it is missing or not text.
std::string textOf(const nlohmann::json& object, const char* name) {
    const auto member = object.find(name);
    return member != object.end() && member->is_string() ? member->get<std::string>() : "";
}

} // namespace

void heroicGog(Search& search, const Home& home) {
    const std::string list = home.configHome + "/heroic/gog_store/installed.json";
    std::string text;
    try {
        text = SmallFile::read(list);
    } catch (const FileError& error) {
        return search.skip(Route, list, error.reason());
    }
    // Parsed without exceptions: a file that is not JSON is discarded whole. The list is the
    // member "installed" of the file's object (or, in some versions, the file's array).
    const auto json = nlohmann::json::parse(text, nullptr, false);
    const auto member = json.is_object() ? json.find("installed") : json.end();
    const nlohmann::json* games = member != json.end() ? &*member : &json;
    if (json.is_discarded() || !games->is_array())
        return search.skip(Route, list, "not Heroic's list of installed games");
    for (const auto& game : *games) {
        if (!game.is_object() || textOf(game, "appName") != "1207658692")
            continue;
        const std::string folder = textOf(game, "install_path");
        if (!folder.starts_with('/'))
            return search.skip(Route, list, "the game's install_path is not a whole path");
        return search.lookAt(Route, LinuxPaths().forPrograms(folder + "/System/"));
    }
    search.skip(Route, list, "the game (appName 1207658692) is not in it");
}

} // namespace InstallSearch::Routes
