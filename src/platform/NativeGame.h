#pragma once

#include <string>
#include <string_view>

// The community's native builds of the game (Linux and Mac): the programs, the folders they run
// from and the preference folder where they keep the settings they save.
namespace NativeGame {

// The game (ut-bin, ut-bin-amd64, ...) and its dedicated server (ucc-bin, ...).
inline bool isProgramName(std::string_view fileName) {
    return fileName.starts_with("ut-bin") || fileName.starts_with("ucc-bin");
}

// The folders a build runs from, the one this machine runs first: System64 on 64-bit x86,
// SystemARM64 on 64-bit Arm, System for 32-bit x86 (the folder every build shares), then the
// others.
#if defined(__x86_64__) || defined(_M_X64)
inline constexpr std::string_view RunFolders[] = {"System64", "System", "SystemARM64"};
#elif defined(__aarch64__) || defined(_M_ARM64)
inline constexpr std::string_view RunFolders[] = {"SystemARM64", "System", "System64"};
#else
inline constexpr std::string_view RunFolders[] = {"System", "System64", "SystemARM64"};
#endif
// The preference folder below a home folder, without a separator at its end. A build reads each
// settings file there first and then from the folder it runs from, and saves there, unless it
// was started with -nohomedir, or -sethomedir=DIR names another.
inline std::string preferenceFolderIn(std::string_view home) {
#ifdef __APPLE__
    return std::string(home) + "/Library/Application Support/Unreal Tournament/System";
#else
    return std::string(home) + "/.utpg/System";
#endif
}

} // namespace NativeGame
