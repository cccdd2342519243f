#include "platform/VirtualStore.h"

#include "platform/AsciiCase.h"

namespace VirtualStore {

namespace {

// The path with '\\' as its only separator.
std::string backslashed(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// Whether path lies below folder (a path without a separator at its end).
bool liesBelow(const std::string& path, std::string folder) {
    while (folder.ends_with('\\'))
        folder.pop_back();
    return !folder.empty() && path.size() > folder.size() + 1 && path[folder.size()] == '\\' &&
           AsciiCase::equalIgnoringCase(path.substr(0, folder.size()), folder);
}

std::string storeRoot(const Places& places) {
    std::string root = backslashed(places.localAppData);
    while (root.ends_with('\\'))
        root.pop_back();
    return root + "\\VirtualStore";
}

bool hasDrive(const std::string& path) {
    return path.size() >= 3 && AsciiCase::isLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

} // namespace

std::optional<std::string> storeFor(const std::string& given, const Places& places) {
    const std::string folder = backslashed(given);
    if (places.localAppData.empty() || !hasDrive(folder))
        return std::nullopt;
    for (const auto& virtualised : places.virtualised)
        if (liesBelow(folder, backslashed(virtualised)))
            return storeRoot(places) + folder.substr(2);
    return std::nullopt;
}

std::optional<std::string> originalOf(const std::string& given, const Places& places) {
    const std::string storeFolder = backslashed(given);
    const std::string root = storeRoot(places);
    if (places.localAppData.empty() || !liesBelow(storeFolder, root))
        return std::nullopt;
    // Only the system drive's folders are virtualised: the drive of the virtualised folders.
    for (const auto& place : places.virtualised) {
        const std::string virtualised = backslashed(place);
        const std::string original = virtualised.substr(0, 2) + storeFolder.substr(root.size());
        if (hasDrive(virtualised) && liesBelow(original, virtualised))
            return original;
    }
    return std::nullopt;
}

} // namespace VirtualStore
