#include "platform/NativePath.h"

#include "platform/AsciiCase.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace NativePath {

namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of dir whose name equals name ignoring case; nothing when none does.
std::optional<std::string> findEntry(const std::string& dir, const std::string& name,
                                     Listings* listings) {
    FolderNames ownNames;
    const FolderNames& names =
        listings ? listings->namesIn(dir) : (ownNames = readFolderNames(dir));
    const auto found = names.matching(name);
    return found.empty() ? std::nullopt : std::optional<std::string>(found.front());
}

std::string joinPath(const std::string& dir, const std::string& name) {
    return dir.ends_with('/') ? dir + name : dir + "/" + name;
}

// Appends each part to base, taking the spelling found on disk where the exact one is missing.
std::string appendMatchingParts(const std::string& base, const std::vector<std::string>& parts,
                                bool trailingSeparator, Listings* listings, bool* onDisk) {
    // The path so far after each part: most paths are spelt as on disk, so how much of the path
    // is there as written is found from its end (one look for a path that is wholly there), and
    // only the parts after that are matched ignoring case.
    std::vector<std::string> upTo{base};
    std::vector<const std::string*> kept;
    for (const auto& part : parts) {
        if (part.empty() || part == ".")
            continue;
        kept.push_back(&part);
        upTo.push_back(joinPath(upTo.back(), part));
    }
    std::size_t there = kept.size();
    // A folder read already tells, without a look, that nothing below a name it lacks is there:
    // a search of thousands of places below one missing folder looks at none of them.
    bool known = false;
    for (std::size_t i = 0; listings && !known && i < kept.size(); ++i) {
        const auto* names = listings->known(upTo[i]);
        known = names && !names->holds(*kept[i]);
        there = known ? i : there;
    }
    while (!known && there > 0) {
        // A folder read already tells without a look whether an entry is there as written.
        if (const auto* names = listings ? listings->known(upTo[there - 1]) : nullptr) {
            if (!names->holds(*kept[there - 1]))
                --there;
            break;
        }
        if (exists(upTo[there]))
            break;
        --there;
    }
    std::string path = std::move(upTo[there]);
    bool stillOnDisk = true;
    for (std::size_t i = there; i < kept.size(); ++i) {
        const std::string& part = *kept[i];
        // The part after what is there as written is known to be missing as written; a folder
        // read already tells of the others without a look.
        const auto missingAsWritten = [&] {
            const auto* names = listings ? listings->known(path) : nullptr;
            return names ? !names->holds(part) : !exists(joinPath(path, part));
        };
        if (stillOnDisk && part != ".." && (i == there || missingAsWritten())) {
            const auto found = findEntry(path, part, listings);
            stillOnDisk = found.has_value();
            path = joinPath(path, found ? *found : part);
        } else {
            path = joinPath(path, part);
        }
    }
    if (trailingSeparator && !path.ends_with('/'))
        path += '/';
    if (onDisk)
        *onDisk = stillOnDisk;
    return path;
}

std::vector<std::string> splitParts(const std::string& path, std::size_t from, bool backslashToo) {
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = from; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '/' || (backslashToo && c == '\\')) {
            parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(std::move(part));
    return parts;
}

bool endsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

bool hasDriveLetter(const std::string& path) {
    return path.size() >= 2 && AsciiCase::isLetter(path[0]) && path[1] == ':';
}

std::string currentDirectory() {
    std::unique_ptr<char, void (*)(void*)> cwd(::getcwd(nullptr, 0), std::free);
    return cwd ? cwd.get() : ".";
}

} // namespace

FolderNames readFolderNames(const std::string& dir) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
    if (!d)
        return FolderNames::unreadable({errno, std::generic_category()});
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(d.get()))
        names.emplace_back(entry->d_name);
    return FolderNames(std::move(names));
}

std::string winePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.wine";
}

bool isPosixForm(const std::string& gamePath) {
    return gamePath.starts_with('/');
}

std::string resolve(const std::string& gamePath) {
    return resolve(gamePath, winePrefix());
}

const FolderNames* Listings::known(const std::string& folder) const {
    const auto read = byPath_.find(folder);
    return read == byPath_.end() ? nullptr : read->second.get();
}

const FolderNames& Listings::namesIn(const std::string& folder) {
    auto& names = byPath_[folder];
    if (names)
        return *names;
    // A folder reached by another spelling or through a link was read already.
    const auto identity = folderIdentity(folder);
    if (identity)
        if (const auto same = byIdentity_.find(*identity); same != byIdentity_.end())
            return *(names = same->second);
    names = std::make_shared<const FolderNames>(readFolderNames(folder));
    if (identity)
        byIdentity_.emplace(*identity, names);
    return *names;
}

std::optional<std::pair<std::string, std::error_code>>
Listings::unreadableOnWayTo(const std::string& path) const {
    std::string folder = path;
    while (!folder.empty()) {
        while (folder.size() > 1 && folder.ends_with('/'))
            folder.pop_back();
        if (const auto* names = known(folder)) {
            const auto& failure = names->failure();
            if (failure && failure != std::errc::no_such_file_or_directory &&
                failure != std::errc::not_a_directory)
                return std::pair(folder, failure);
        }
        if (folder == "/")
            break;
        folder.resize(folder.rfind('/') + 1);
    }
    return std::nullopt;
}

std::string resolve(const std::string& gamePath, const std::string& prefix, Listings* listings,
                    bool* onDisk) {
    const bool trailing = endsWithSeparator(gamePath);
    if (isPosixForm(gamePath))
        return appendMatchingParts("/", splitParts(gamePath, 1, false), trailing, listings, onDisk);
    if (hasDriveLetter(gamePath)) {
        // A drive is what dosdevices says it is: "c:" usually links to ../drive_c, "z:" to /.
        const std::string drive =
            prefix + "/dosdevices/" + AsciiCase::toLower(gamePath.substr(0, 1)) + ":";
        return appendMatchingParts(drive, splitParts(gamePath, 2, true), trailing, listings,
                                   onDisk);
    }
    if (gamePath.starts_with('\\')) // the root of the current drive, which is Z: (/) under Wine
        return appendMatchingParts("/", splitParts(gamePath, 1, true), trailing, listings, onDisk);
    return appendMatchingParts(currentDirectory(), splitParts(gamePath, 0, true), trailing,
                               listings, onDisk);
}

} // namespace NativePath
