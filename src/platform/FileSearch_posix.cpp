#include "platform/FileSearch.h"

#include "platform/AsciiCase.h"
#include "platform/NativePath.h"

#include <cstdlib>
#include <dirent.h>
#include <memory>
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

Finding find(const std::string& folder, const std::string& fileName,
             NativePath::Listings* listings) {
    bool onDisk = true;
    std::string dir = NativePath::resolve(folder, NativePath::winePrefix(), listings, &onDisk);
    if (dir.empty() || !onDisk)
        return Finding::NoFolder;
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
    if (!d)
        return Finding::NoFolder;
    if (!dir.ends_with('/'))
        dir += '/';
    while (const dirent* entry = ::readdir(d.get())) {
        if (!AsciiCase::equalIgnoringCase(entry->d_name, fileName))
            continue;
        const std::string path = dir + entry->d_name;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !markedHiddenOrSystem(path))
            return Finding::File;
    }
    return Finding::NoFile;
}

} // namespace FileSearch
