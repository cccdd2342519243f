#include "install/WinePrefixes.h"

#include "files/FileError.h"
#include "install/Routes.h"
#include "install/SmallFile.h"
#include "install/YamlDocument.h"
#include "platform/FolderIdentity.h"
#include "platform/NativePath.h"

#include <algorithm>
#include <vector>

namespace fs = std::filesystem;

namespace InstallSearch::Routes {

namespace {

// What a folder is to the search: a Wine prefix or not, or why that cannot be told.
struct PrefixCheck {
    bool prefix = false;
    std::error_code reason; // set when the folder cannot be looked into
};

PrefixCheck checkPrefix(const fs::path& folder) {
    std::error_code error;
    const auto registry = fs::status(folder / "system.reg", error);
    if (error && !meansMissing(error))
        return {false, error};
    const auto drive = fs::status(folder / "drive_c", error);
    if (error && !meansMissing(error))
        return {false, error};
    return {fs::is_regular_file(registry) && fs::is_directory(drive), {}};
}

} // namespace

std::optional<std::vector<fs::path>> entriesIn(Search& search, const std::string& route,
                                               const fs::path& given) {
    // Matched ignoring letter case through the folders the search has read, so that a folder of
    // a long list that is not there costs no look.
    bool there = true;
    const fs::path folder = NativePath::resolve(given.string(), {}, &search.listings(), &there);
    if (!there) {
        search.missing(route, given.string(), folder.string(), false);
        return std::nullopt;
    }
    std::error_code error;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    if (error) {
        if (error == std::errc::no_such_file_or_directory)
            search.note(Outcome::NoFolder, route, folder.string());
        else
            search.skip(route, folder.string(), error.message());
        return std::nullopt;
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

WinePrefixes::WinePrefixes(Search& search) : search_(search) {
    search_.seenBefore(Search::Kind::WinePrefix, NativePath::winePrefix());
}

bool WinePrefixes::holdsPrefix(const fs::path& folder) const {
    return checkPrefix(folder).prefix || checkPrefix(folder / "pfx").prefix;
}

void WinePrefixes::lookIn(const std::string& route, const fs::path& given) {
    if (search_.found())
        return;
    bool there = true;
    const std::string path = NativePath::resolve(given.string(), {}, &search_.listings(), &there);
    const fs::path folder = path;
    if (!there)
        return search_.missing(route, given.string(), path, false);
    // A prefix tells itself in two looks; only what is none is looked at further, to say why.
    PrefixCheck check = checkPrefix(folder);
    if (!check.prefix) {
        if (const auto why = whyNoFolder(path)) {
            std::error_code error;
            const auto link = fs::symlink_status(folder, error);
            if (!meansMissing(why))
                return search_.skip(route, path, why.message());
            if (!fs::exists(link))
                return search_.note(Outcome::NoFolder, route, path);
            return search_.skip(
                route, path, fs::is_symlink(link) ? "a link that leads nowhere" : "not a folder");
        }
    }
    if (!check.prefix && !check.reason) {
        const PrefixCheck proton = checkPrefix(folder / "pfx");
        if (proton.prefix)
            return lookIn(route, folder / "pfx");
        if (proton.reason)
            return search_.skip(route, path,
                                (folder / "pfx").string() + ": " + proton.reason.message());
    }
    if (check.reason)
        return search_.skip(route, path, check.reason.message());
    if (!check.prefix)
        return search_.skip(route, path, "not a Wine prefix (no system.reg and drive_c)");
    std::error_code error;
    if (!fs::is_directory(folder / "dosdevices", error))
        return search_.skip(route, path,
                            error && !meansMissing(error) ? "dosdevices: " + error.message()
                                                          : "a Wine prefix without dosdevices");
    if (search_.seenBefore(Search::Kind::WinePrefix, path))
        return search_.note(Outcome::Repeated, route, path);
    WindowsView windows = WindowsView::otherPrefix(path);
    inWindows(search_, windows, {});
}

void WinePrefixes::lookInEachIn(const std::string& route, const fs::path& parent) {
    if (search_.found())
        return;
    const auto folders = entriesIn(search_, route, parent);
    if (!folders)
        return;
    if (search_.seenBefore(Search::Kind::PrefixFolder, parent.string()))
        return search_.note(Outcome::Repeated, route, parent.string());
    for (const auto& folder : *folders)
        lookIn(route, folder);
}

void WinePrefixes::lookInPrefixOrEachIn(const std::string& route, const fs::path& folder) {
    if (holdsPrefix(folder))
        lookIn(route, folder);
    else
        lookInEachIn(route, folder);
}

void WinePrefixes::lookInEachNamedBy(const std::string& route, const std::string& settings,
                                     std::initializer_list<std::string_view> keys) {
    if (search_.found() || SmallFile::isMissing(settings))
        return;
    std::optional<std::string> folder;
    try {
        folder = YamlDocument::textAt(SmallFile::read(settings), keys);
    } catch (const FileError& error) {
        return search_.skip(route, settings, error.reason());
    } catch (const YamlDocument::NotYaml& error) {
        return search_.skip(route, settings, error.what());
    }
    // A program that was never told another folder names none.
    if (folder && folder->starts_with('/'))
        lookInEachIn(route, *folder);
    else if (folder)
        search_.skip(route, settings, "the folder it names is not a whole path");
}

} // namespace InstallSearch::Routes
