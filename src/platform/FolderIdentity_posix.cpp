#include "platform/FolderIdentity.h"

#include <cerrno>
#include <sys/stat.h>

std::optional<FolderIdentity> folderIdentity(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return FolderIdentity{static_cast<std::uint64_t>(st.st_dev),
                          static_cast<std::uint64_t>(st.st_ino)};
}

std::error_code whyNoFolder(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0)
        return {errno, std::generic_category()};
    return S_ISDIR(st.st_mode) ? std::error_code()
                               : std::make_error_code(std::errc::not_a_directory);
}
