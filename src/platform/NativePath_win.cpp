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

const std::vector<std::string>* Listings::known(const std::string&) const {
    return nullptr;
}

const std::vector<std::string>& Listings::namesIn(const std::string& folder) {
    return folders_[folder]; // not used on Windows: nothing is read
}

bool isPosixForm(const std::string&) {
    return false;
}

std::string winePrefix() {
    return {};
}

} // namespace NativePath
