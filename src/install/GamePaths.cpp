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
    // The community's native builds run from System64 or SystemARM64, each a System folder too.
    for (const char* name : {"system", "system64", "systemarm64"}) {
        const std::string ending = std::string(1, separator) + name + separator;
        const std::string tail =
            path.size() > ending.size() ? path.substr(path.size() - ending.size()) : path;
        if (AsciiCase::toLower(tail) == ending)
            return path;
    }
    return path + "system" + separator;
}

std::string normaliseTypedPath(const std::string& typed) {
    return normaliseTypedPath(typed, NativePath::isPosixForm(typed) ? '/' : '\\');
}

} // namespace GamePaths
