#include "NativePath.h"

namespace NativePath {

std::string resolve(const std::string& gamePath) {
    return gamePath;
}

std::string resolve(const std::string& gamePath, const std::string&) {
    return gamePath;
}

bool isPosixForm(const std::string&) {
    return false;
}

std::string winePrefix() {
    return {};
}

} // namespace NativePath
