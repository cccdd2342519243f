#pragma once

#include <filesystem>
#include <string>

// The tests' stand-in for the game, a program that only waits until it is ended: copied into a
// folder under one of the game's names and started from there. QUILLON_GAME_STAND_IN is the one
// built for this system; on Linux, QUILLON_WINDOWS_STAND_IN is the one built for Windows, to be
// started under Wine, or "" when the build found no MinGW-w64 compiler.

// The name the game's program has on this system: UnrealTournament.exe on Windows, else ut-bin.
inline const char* const GameProgramName = QUILLON_GAME_PROGRAM_NAME;

// Copies the stand-in into the folder (created) under that name; the copy's path.
inline std::string copyOfStandIn(const std::filesystem::path& folder, const std::string& name,
                                 const std::string& standIn = QUILLON_GAME_STAND_IN) {
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(standIn, folder / name);
    return (folder / name).string();
}
