#include "NativePath.h"

#include "AsciiCase.h"

#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace NativePath {

namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of dir whose name equals name ignoring case, or name itself when none does.
std::string findEntry(const std::string& dir, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
    if (!d)
        return name;
    while (const dirent* entry = ::readdir(d.get())) {
        if (AsciiCase::equalIgnoringCase(entry->d_name, name))
            return entry->d_name;
    }
    return name;
}

std::string joinPath(const std::string& dir, const std::string& name) {
    return dir.ends_with('/') ? dir + name : dir + "/" + name;
}

// Appends each part to base, taking the spelling found on disk where the exact one is missing.
std::string appendMatchingParts(std::string base, const std::vector<std::string>& parts,
                                bool trailingSeparator) {
    bool stillOnDisk = true;
    for (const auto& part : parts) {
        if (part.empty() || part == ".")
            continue;
        std::string next = joinPath(base, part);
        if (stillOnDisk && part != ".." && !exists(next)) {
            next = joinPath(base, findEntry(base, part));
            stillOnDisk = exists(next);
        }
        base = std::move(next);
    }
    if (trailingSeparator && !base.ends_with('/'))
        base += '/';
    return base;
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

std::string resolve(const std::string& gamePath, const std::string& prefix) {
    const bool trailing = endsWithSeparator(gamePath);
    if (isPosixForm(gamePath))
        return appendMatchingParts("/", splitParts(gamePath, 1, false), trailing);
    if (hasDriveLetter(gamePath)) {
        // A drive is what dosdevices says it is: "c:" usually links to ../drive_c, "z:" to /.
        const std::string drive =
            prefix + "/dosdevices/" + AsciiCase::toLower(gamePath.substr(0, 1)) + ":";
        return appendMatchingParts(drive, splitParts(gamePath, 2, true), trailing);
    }
    if (gamePath.starts_with('\\')) // the root of the current drive, which is Z: (/) under Wine
        return appendMatchingParts("/", splitParts(gamePath, 1, true), trailing);
    return appendMatchingParts(currentDirectory(), splitParts(gamePath, 0, true), trailing);
}

} // namespace NativePath
