#pragma once

#include "platform/AsciiCase.h"

#include <string_view>

// The file names by which the game's Windows programs are known, on Windows and under Wine.
namespace GameProgramNames {

// The game itself and its dedicated server.
inline constexpr std::string_view WindowsPrograms[] = {"UnrealTournament.exe", "UCC.exe"};

// Whether a file name is one of them, compared ignoring letter case as Windows does.
inline bool isWindowsProgram(std::string_view fileName) {
    for (const std::string_view program : WindowsPrograms)
        if (AsciiCase::equalIgnoringCase(fileName, program))
            return true;
    return false;
}

} // namespace GameProgramNames
