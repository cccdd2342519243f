#include "install/SteamLibraries.h"

#include "files/FileError.h"
#include "files/FileIo.h"
#include "install/KeyValues.h"
#include "install/SmallFile.h"

#include <algorithm>

namespace SteamLibraries {

namespace {

bool isNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The file's bytes, read through the space; nothing (the search told why) when it cannot be.
std::optional<std::string> readThrough(InstallSearch::Search& search,
                                       const InstallSearch::PathSpace& space,
                                       const std::string& route, const std::string& path) {
    try {
        bool there = true;
        const std::string native = space.native(path, search.listings(), &there);
        if (!there) { // no file to open, as the folders read to match its letter case tell
            search.skip(route, path, search.whyNotThere(native));
            return std::nullopt;
        }
        return SmallFile::read(native);
    } catch (const FileError& error) {
        search.skip(route, path, error.reason());
        return std::nullopt;
    }
}

// The path with the space's separator only (Steam writes '/' in Windows paths too), and without
// a separator at its end.
std::string inSpaceForm(const InstallSearch::PathSpace& space, std::string path) {
    if (space.separator() == '\\')
        for (char& c : path)
            if (c == '/')
                c = '\\';
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

// The native path of a folder, or the folder as written when it leads nowhere.
std::string nativeOrAsWritten(InstallSearch::Search& search, const InstallSearch::PathSpace& space,
                              const std::string& folder) {
    try {
        return space.native(folder, search.listings());
    } catch (const FileError&) {
        return folder;
    }
}

// Luxtorpeda, a tool of Steam for Linux, runs the community's native build of a Steam game from a
// folder it makes in the game's folder, linuxdata-<version> (linuxdata-469c, ...): the newest
// version first.
void lookInLuxtorpeda(InstallSearch::Search& search, const InstallSearch::PathSpace& space,
                      const std::string& route, const std::string& game) {
    if (space.separator() != '/')
        return; // Steam for Windows, in Windows or a Wine prefix, has no Luxtorpeda
    std::vector<std::string> builds;
    for (const auto& name : search.listings().namesIn(nativeOrAsWritten(search, space, game)).all())
        if (name.starts_with("linuxdata-"))
            builds.push_back(name);
    std::sort(builds.rbegin(), builds.rend());
    const std::string sep(1, space.separator());
    for (const auto& build : builds)
        search.lookAt(route + ", Luxtorpeda",
                      space.forPrograms(space.join(game, build + sep + "System" + sep)));
}

} // namespace

std::optional<std::vector<std::string>> listed(std::string_view libraryFolders) {
    const auto keys = KeyValues::parse(libraryFolders);
    if (!keys || keys->empty() || !keys->front().block)
        return std::nullopt;
    std::vector<std::string> libraries;
    for (const auto& entry : keys->front().children) {
        if (!isNumber(entry.key))
            continue;
        const std::string path = entry.block ? entry.text("path") : entry.value;
        if (!path.empty())
            libraries.push_back(path);
    }
    return libraries;
}

std::optional<std::string> installDir(std::string_view appManifest) {
    const auto keys = KeyValues::parse(appManifest);
    if (!keys || keys->empty() || !keys->front().block)
        return std::nullopt;
    const std::string dir = keys->front().text("installdir");
    // One folder's name: a manifest cannot lead the search out of the library.
    if (dir.empty() || dir == "." || dir == ".." || dir.find_first_of("/\\:") != std::string::npos)
        return std::nullopt;
    return dir;
}

std::vector<std::string> lookIn(InstallSearch::Search& search,
                                const InstallSearch::PathSpace& space, const std::string& route,
                                const std::string& steamFolder) {
    std::vector<std::string> libraries{inSpaceForm(space, steamFolder)};
    const std::string sep(1, space.separator());
    // Steam keeps the list in steamapps; some installs have only the copy in config, which is
    // read when it is there as Steam spells it.
    std::string listPath = space.join(libraries.front(), "steamapps" + sep + "libraryfolders.vdf");
    auto list = readThrough(search, space, route, listPath);
    const std::string copy = space.join(libraries.front(), "config" + sep + "libraryfolders.vdf");
    if (!list &&
        stampOf(nativeOrAsWritten(search, space, libraries.front()) + "/config/libraryfolders.vdf"))
        list = readThrough(search, space, route, listPath = copy);
    if (list) {
        if (const auto paths = listed(*list))
            for (const auto& path : *paths)
                libraries.push_back(inSpaceForm(space, path));
        else
            search.skip(route, listPath, "not a Steam library list (KeyValues)");
    }

    std::vector<std::string> lookedIn;
    for (const auto& library : libraries) {
        if (search.found())
            break;
        bool there = true;
        std::string native;
        try {
            native = space.native(library, search.listings(), &there);
        } catch (const FileError& error) {
            search.skip(route, library, error.reason());
            continue;
        }
        // A library listed twice, or reached through a link, is looked in once; one that is not
        // there (a list can name thousands) costs a look and no more.
        const auto identity = there ? folderIdentity(native) : std::nullopt;
        if (search.seenBefore(InstallSearch::Search::Kind::SteamLibrary, native, identity))
            continue;
        if (!identity) {
            search.missing(route, library, native, there);
            continue;
        }
        lookedIn.push_back(native);
        const std::string manifest =
            space.join(library, "steamapps" + sep + "appmanifest_13240.acf");
        const auto text = readThrough(search, space, route, manifest);
        if (!text)
            continue;
        const auto dir = installDir(*text);
        if (!dir) {
            search.skip(route, manifest, "names no game folder (installdir)");
            continue;
        }
        const std::string game = space.join(library, "steamapps" + sep + "common" + sep + *dir);
        search.lookAt(route, space.forPrograms(game + sep + "System" + sep));
        lookInLuxtorpeda(search, space, route, game);
    }
    return lookedIn;
}

} // namespace SteamLibraries
