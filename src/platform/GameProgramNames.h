#pragma once

#include "AsciiCase.h"

#include <string_view>

// The file names by which the game's Windows programs are known, on Windows and under Wine.
namespace GameProgramNames {

// The game itself or its dedicated server, compared ignoring letter case as Windows does.
inline bool isWindowsProgram(std::string_view fileName) {
    return AsciiCase::equalIgnoringCase(fileName, "UnrealTournament.exe") ||
           AsciiCase::equalIgnoringCase(fileName, "UCC.exe");
}

} // namespace GameProgramNames
