#include "platform/NativePath.h"

namespace NativePath {

std::string resolve(const std::string& gamePath) {
    return gamePath;
}

std::string resolve(const std::string& gamePath, const std::string&, Listings*, bool* onDisk) {
    if (onDisk)
        *onDisk = true; // not known without a look, which the caller's own call makes
    return gamePath;
}

FolderNames readFolderNames(const std::string&) {
    return {}; // not used on Windows
}

const FolderNames* Listings::known(const std::string&) const {
    return nullptr;
}

const FolderNames& Listings::namesIn(const std::string& folder) {
    auto& names = byPath_[folder]; // not used on Windows: nothing is read
    if (!names)
        names = std::make_shared<const FolderNames>();
    return *names;
}

std::optional<std::pair<std::string, std::error_code>>
Listings::unreadableOnWayTo(const std::string&) const {
    return std::nullopt;
}

bool isPosixForm(const std::string&) {
    return false;
}

std::string winePrefix() {
    return {};
}

} // namespace NativePath
