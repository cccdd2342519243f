#include "install/GamePaths.h"

#include "platform/AsciiCase.h"
#include "platform/NativePath.h"
#include "platform/Registry.h"

namespace GamePaths {

std::string readInstallFolder() {
    return Registry::ReadRegistryString(Registry::HKeyLocalMachine, InstallKeyPath,
                                        InstallValueName);
}

std::array<std::string, 4> candidateDirs(const std::string& installFolder) {
    return {installFolder + "\\System\\", "C:\\Unreal Tournament\\System\\",
            "C:\\Games\\Unreal Tournament\\System\\",
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

} // namespace GamePaths
