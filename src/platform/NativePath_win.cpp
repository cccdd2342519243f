#include "NativePath.h"

namespace NativePath {

std::string resolve(const std::string& gamePath) {
    return gamePath;
}

std::string resolve(const std::string& gamePath, const std::string&, Listings*) {
    return gamePath;
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
