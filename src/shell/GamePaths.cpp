#include "GamePaths.h"

#include "AsciiCase.h"
#include "NativePath.h"
#include "Registry.h"

namespace GamePaths {

namespace {

// Where the game's installer records its folder.
const char* const InstallKeyPath = "SOFTWARE\\Unreal Technology\\Installed Apps\\UnrealTournament";
const char* const InstallValueName = "Folder";

} // namespace

std::string readInstallFolder() {
    return Registry::ReadRegistryString(Registry::HKeyLocalMachine, InstallKeyPath,
                                        InstallValueName);
}

std::array<std::string, 4> candidateDirs(const std::string& installFolder) {
    return {NativePath::fromAnsiCodePage(installFolder) + "\\System\\",
            "C:\\Unreal Tournament\\System\\", "C:\\Games\\Unreal Tournament\\System\\",
            "C:\\Program files\\Unreal Tournament\\System\\"};
}

std::string normaliseTypedPath(const std::string& typed, char separator) {
    std::string path = typed;
    if (path.empty() || path.back() != separator)
        path += separator;
    const std::string ending = std::string(1, separator) + "system" + separator;
    const std::string tail =
        path.size() > ending.size() ? path.substr(path.size() - ending.size()) : path;
    if (AsciiCase::toLower(tail) != ending)
        path += "system" + std::string(1, separator);
    return path;
}

std::string normaliseTypedPath(const std::string& typed) {
    return normaliseTypedPath(typed, NativePath::isPosixForm(typed) ? '/' : '\\');
}

int firstAcceptedCandidate(const std::array<std::string, 4>& candidates,
                           const std::function<bool(const std::string&)>& holdsTestFile) {
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (holdsTestFile(candidates[i]))
            return static_cast<int>(i);
    return -1;
}

} // namespace GamePaths
