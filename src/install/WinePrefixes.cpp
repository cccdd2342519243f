#include "install/Routes.h"
#include "platform/NativePath.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace InstallSearch::Routes {

namespace {

// The prefixes looked in so far, by their device and inode; the one in use is among them from
// the start.
class Prefixes {
public:
    explicit Prefixes(Search& search) : search_(search) { seenBefore(NativePath::winePrefix()); }

    // Searches one folder when it is a Wine prefix not looked in yet.
    void lookIn(const std::string& route, const fs::path& folder) {
        if (search_.found())
            return;
        std::error_code error;
        const auto path = folder.string();
        const bool prefix = fs::is_regular_file(folder / "system.reg", error) &&
                            fs::is_directory(folder / "drive_c", error);
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
        if (seenBefore(path))
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
        std::sort(folders.begin(), folders.end());
        for (const auto& folder : folders)
            lookIn(route, folder);
    }

private:
    // Whether the folder is one looked in already; it counts as looked in from now on.
    bool seenBefore(const std::string& folder) {
        struct stat st {};
        return ::stat(folder.c_str(), &st) == 0 && !seen_.emplace(st.st_dev, st.st_ino).second;
    }

    Search& search_;
    std::set<std::pair<dev_t, ino_t>> seen_;
};

} // namespace

void winePrefixes(Search& search, const Home& home,
                  const std::vector<std::string>& steamLibraries) {
    Prefixes prefixes(search);
    for (const auto& library : steamLibraries)
        prefixes.lookIn("Proton", fs::path(library) / "steamapps/compatdata/13240/pfx");
    const fs::path h = home.home;
    prefixes.lookInEachIn("Lutris", h / "Games");
    prefixes.lookInEachIn("Heroic", h / "Games/Heroic/Prefixes/default");
    prefixes.lookInEachIn("Bottles", fs::path(home.dataHome) / "bottles/bottles");
    prefixes.lookInEachIn("Bottles (Flatpak)",
                          h / ".var/app/com.usebottles.bottles/data/bottles/bottles");
    prefixes.lookInEachIn("PlayOnLinux", h / ".PlayOnLinux/wineprefix");
}

} // namespace InstallSearch::Routes
