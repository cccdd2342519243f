// The Wine prefixes of other programs: Proton's, Lutris', Heroic's, Bottles' and PlayOnLinux's.
// Each is searched as a Windows of its own.
#include "files/FileError.h"
#include "files/FileIo.h"
#include "install/Routes.h"
#include "install/SmallFile.h"
#include "install/YamlValue.h"
#include "platform/NativePath.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace InstallSearch::Routes {

namespace {

class Prefixes {
public:
    // The prefix in use has been searched already, as this system.
    explicit Prefixes(Search& search) : search_(search) {
        search_.seenBefore(Search::Kind::WinePrefix, NativePath::winePrefix());
    }

    // Searches one folder when it is a Wine prefix not looked in yet. A prefix made for Proton
    // (by Steam, Heroic or Lutris) is the folder's pfx.
    void lookIn(const std::string& route, const fs::path& folder) {
        if (search_.found())
            return;
        std::error_code error;
        const auto isPrefix = [&](const fs::path& path) {
            return fs::is_regular_file(path / "system.reg", error) &&
                   fs::is_directory(path / "drive_c", error);
        };
        const auto path = folder.string();
        const bool prefix = isPrefix(folder);
        if (!prefix && isPrefix(folder / "pfx"))
            return lookIn(route, folder / "pfx");
        if (!prefix && !fs::is_directory(folder, error)) {
            const auto link = fs::symlink_status(folder, error);
            if (!fs::exists(link))
                return search_.note(Outcome::NoFolder, route, path);
            return search_.skip(
                route, path, fs::is_symlink(link) ? "a link that leads nowhere" : "not a folder");
        }
        if (!prefix)
            return search_.skip(route, path, "not a Wine prefix (no system.reg and drive_c)");
        if (!fs::is_directory(folder / "dosdevices", error))
            return search_.skip(route, path, "a Wine prefix without dosdevices");
        if (search_.seenBefore(Search::Kind::WinePrefix, path))
            return search_.note(Outcome::Repeated, route, path);
        WindowsView windows = WindowsView::otherPrefix(path);
        inWindows(search_, windows, {});
    }

    // Searches each folder directly in a folder, in the order of their names.
    void lookInEachIn(const std::string& route, const fs::path& parent) {
        if (search_.found())
            return;
        std::error_code error;
        std::vector<fs::path> folders;
        for (fs::directory_iterator it(parent, error), end; !error && it != end;
             it.increment(error))
            folders.push_back(it->path());
        if (error)
            return error == std::errc::no_such_file_or_directory
                       ? search_.note(Outcome::NoFolder, route, parent.string())
                       : search_.skip(route, parent.string(), error.message());
        if (search_.seenBefore(Search::Kind::PrefixFolder, parent.string()))
            return search_.note(Outcome::Repeated, route, parent.string());
        std::sort(folders.begin(), folders.end());
        for (const auto& folder : folders)
            lookIn(route, folder);
    }

    // Searches each folder in the folder that a value of a program's YAML settings names, when
    // the settings are there (the program was set up).
    void lookInEachNamedBy(const std::string& route, const std::string& settings,
                           std::string_view key, std::string_view nestedKey = {}) {
        if (search_.found() || !stampOf(settings))
            return;
        std::string text;
        try {
            text = SmallFile::read(settings);
        } catch (const FileError& error) {
            return search_.skip(route, settings, error.reason());
        }
        // A program that was never told another folder names none.
        const auto folder = YamlValue::find(text, key, nestedKey);
        if (folder && folder->starts_with('/'))
            lookInEachIn(route, *folder);
        else if (folder)
            search_.skip(route, settings, "the folder it names is not a whole path");
    }

private:
    Search& search_;
};

} // namespace

void winePrefixes(Search& search, const Home& home,
                  const std::vector<std::string>& steamLibraries) {
    Prefixes prefixes(search);
    for (const auto& library : steamLibraries)
        prefixes.lookIn("Proton", fs::path(library) / "steamapps/compatdata/13240");
    const fs::path h = home.home;
    // Lutris puts a game in ~/Games unless its settings name another folder (game_path), which
    // newer versions keep in the data folder.
    prefixes.lookInEachIn("Lutris", h / "Games");
    for (const auto& folder : {home.configHome, home.dataHome})
        prefixes.lookInEachNamedBy("Lutris (game_path)", folder + "/lutris/system.yml", "system",
                                   "game_path");
    prefixes.lookInEachIn("Heroic", h / "Games/Heroic/Prefixes/default");
    // Bottles keeps its bottles in its data folder unless its data.yml names another.
    const std::string flatpakBottles = home.home + "/.var/app/com.usebottles.bottles/data/bottles";
    prefixes.lookInEachIn("Bottles", fs::path(home.dataHome) / "bottles/bottles");
    prefixes.lookInEachIn("Bottles (Flatpak)", flatpakBottles + "/bottles");
    for (const auto& folder : {home.dataHome + "/bottles", flatpakBottles})
        prefixes.lookInEachNamedBy("Bottles (custom_bottles_path)", folder + "/data.yml",
                                   "custom_bottles_path");
    prefixes.lookInEachIn("PlayOnLinux", h / ".PlayOnLinux/wineprefix");
}

} // namespace InstallSearch::Routes
