#include "platform/FileSearch.h"

#include "platform/NativePath.h"

#include <cstdlib>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace FileSearch {

namespace {

constexpr unsigned long DosHidden = 0x2;
constexpr unsigned long DosSystem = 0x4;

// Wine keeps a file's DOS attributes in an extended attribute as hex text ("0x2").
bool markedHiddenOrSystem(const std::string& path) {
    char value[64] = {};
    const ssize_t n = ::getxattr(path.c_str(), "user.DOSATTRIB", value, sizeof value - 1);
    if (n <= 0)
        return false;
    value[n] = '\0';
    const unsigned long attributes = std::strtoul(value, nullptr, 16);
    return (attributes & (DosHidden | DosSystem)) != 0;
}

} // namespace

Look look(const std::string& folder, const std::string& fileName, NativePath::Listings* listings) {
    bool onDisk = true;
    std::string dir = NativePath::resolve(folder, NativePath::winePrefix(), listings, &onDisk);
    const auto unreadable = [&](const std::string& at, std::error_code reason) {
        return Look{Finding::Unreadable, at, reason};
    };
    if (dir.empty())
        return {Finding::NoFolder};
    if (!onDisk) {
        // A part not there as written, in a folder that could not be read to match its case.
        const auto failed = listings ? listings->unreadableOnWayTo(dir) : std::nullopt;
        return failed ? unreadable(failed->first, failed->second) : Look{Finding::NoFolder};
    }
    FolderNames ownNames;
    const FolderNames& names =
        listings ? listings->namesIn(dir) : (ownNames = NativePath::readFolderNames(dir));
    if (const auto& failure = names.failure()) {
        if (failure == std::errc::no_such_file_or_directory ||
            failure == std::errc::not_a_directory)
            return {Finding::NoFolder};
        return unreadable(dir, failure);
    }
    if (!dir.ends_with('/'))
        dir += '/';
    for (const auto name : names.matching(fileName)) {
        const std::string path = dir + std::string(name);
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !markedHiddenOrSystem(path))
            return {Finding::File};
    }
    return {Finding::NoFile};
}

} // namespace FileSearch
