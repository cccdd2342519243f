// Other programs' records of where the game is: Lutris' database, Minigalaxy's folder of games and
// the desktop entries that start the game.
#include "files/FileError.h"
#include "install/DesktopEntry.h"
#include "install/HomeRoutes.h"
#include "install/JsonFile.h"
#include "install/LutrisDatabase.h"
#include "install/SmallFile.h"
#include "install/WindowsView.h"
#include "platform/AsciiCase.h"
#include "platform/FolderIdentity.h"
#include "platform/NativePath.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace InstallSearch::Routes {

namespace {

// The programs a desktop entry may start the game by: the community's native builds for each
// processor (as its installer names them), and the Windows program under Wine.
bool startsTheGame(std::string_view fileName) {
    for (const char* program : {"ut-bin", "ut-bin-amd64", "ut-bin-arm64", "ut-bin-x86"})
        if (fileName == program)
            return true;
    return AsciiCase::equalIgnoringCase(fileName, "UnrealTournament.exe");
}

bool isWindowsPath(const std::string& word) {
    return word.size() > 2 && AsciiCase::isLetter(word[0]) && word[1] == ':' &&
           (word[2] == '\\' || word[2] == '/');
}

// The folder of the game's program that a launch starts (a game path ending in a separator);
// nothing when it starts none, or names it relative to a folder the entry does not give.
std::optional<std::string> programFolder(const DesktopEntry::Launch& launch) {
    std::string prefix = NativePath::winePrefix(); // as Wine takes it unless the line says
    for (const std::string& word : launch.words) {
        if (word.starts_with("WINEPREFIX="))
            prefix = word.substr(11);
        const std::size_t slash = word.find_last_of("/\\");
        const std::string folder = slash == std::string::npos ? "" : word.substr(0, slash + 1);
        if (!startsTheGame(word.substr(slash + 1)))
            continue;
        if (word.starts_with('/'))
            return folder;
        if (isWindowsPath(word))
            return WindowsView::otherPrefix(prefix).forPrograms(WindowsView::windowsForm(folder));
        if (!launch.path.starts_with('/'))
            return std::nullopt;
        return (fs::path(launch.path) / folder).lexically_normal().string();
    }
    return std::nullopt;
}

} // namespace

void lutrisDatabase(HomeSearch& home, const std::string& route, const std::string& database) {
    if (home.search.found() || SmallFile::isMissing(database))
        return;
    std::vector<LutrisDatabase::Game> games;
    try {
        games = LutrisDatabase::installedGames(database);
    } catch (const FileError& error) {
        return home.search.skip(route, database, error.reason());
    }
    // A Windows game's folder is usually its prefix; a native game's holds its System folder,
    // and so may a Windows game's copied there whole.
    for (const auto& game : games) {
        if (!game.directory.starts_with('/'))
            home.search.skip(route, game.directory, "not a whole path");
        else if (game.runner != "linux" && home.prefixes.holdsPrefix(game.directory))
            home.prefixes.lookIn(route, game.directory);
        else
            home.search.lookAt(route, game.directory + "/System/");
    }
}

void minigalaxy(HomeSearch& home) {
    const char* const route = "Minigalaxy";
    // Its settings name the folder of games (install_dir), ~/GOG Games unless told otherwise.
    std::vector<std::string> folders;
    bool setUp = false;
    for (const std::string& settings :
         {home.folders.configHome + "/minigalaxy/config.json",
          home.folders.home + "/.var/app/io.github.sharkwouter.Minigalaxy/config/minigalaxy/"
                              "config.json"}) {
        if (SmallFile::isMissing(settings))
            continue;
        setUp = true;
        if (const auto json = JsonFile::read(home.search, route, settings)) {
            const std::string folder = JsonFile::textOf(*json, "install_dir");
            if (folder.empty() || folder.starts_with('/'))
                folders.push_back(folder.empty() ? home.folders.home + "/GOG Games" : folder);
            else
                home.search.skip(route, settings, "its install_dir is not a whole path");
        }
    }
    if (!setUp)
        folders.push_back(home.folders.home + "/GOG Games");
    for (const auto& folder : folders) {
        if (home.search.found())
            return;
        const auto games = entriesIn(home.search, route, folder);
        if (!games)
            continue;
        if (home.search.seenBefore(Search::Kind::PrefixFolder, folder)) {
            home.search.note(Outcome::Repeated, route, folder);
            continue;
        }
        // A Windows game's files are in its folder, its Wine prefix in the folder's "prefix"
        // (whose C:\game leads back to the game's folder).
        for (const auto& game : *games) {
            std::error_code error;
            if (!fs::is_directory(game, error))
                continue;
            home.search.lookAt(route, game.string() + "/System/");
            if (home.prefixes.holdsPrefix(game / "prefix"))
                home.prefixes.lookIn(route, game / "prefix");
        }
    }
}

void desktopEntries(HomeSearch& home, const std::string& route, const std::string& applications) {
    if (home.search.found())
        return;
    const auto entries = entriesIn(home.search, route, applications);
    if (!entries)
        return;
    for (const auto& entry : *entries) {
        if (home.search.found())
            return;
        std::error_code error;
        if (entry.extension() != ".desktop" || !fs::is_regular_file(entry, error))
            continue;
        std::string text;
        try {
            text = SmallFile::read(entry.string());
        } catch (const FileError& error) {
            home.search.skip(route, entry.string(), error.reason());
            continue;
        }
        // Most entries start other programs; only those naming the game's are read further.
        const std::string lower = AsciiCase::toLower(text);
        if (lower.find("ut-bin") == std::string::npos &&
            lower.find("unrealtournament.exe") == std::string::npos)
            continue;
        const auto launch = DesktopEntry::launchOf(text);
        if (const auto folder = launch ? programFolder(*launch) : std::nullopt)
            home.search.lookAt("desktop entry " + entry.string(), *folder);
    }
}

} // namespace InstallSearch::Routes
