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

std::string fromAnsiCodePage(const std::string& text) {
    return text;
}

std::string winePrefix() {
    return {};
}

} // namespace NativePath
