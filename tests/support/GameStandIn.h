#pragma once

#include "ChildProcess.h"

#include <filesystem>
#include <string>

// The tests' stand-in for the game: a program that only waits until it is ended, copied into a
// folder under one of the game's program names and started from there.

// The name the game's program has on this system: ut-bin on Linux, UnrealTournament.exe on
// Windows.
extern const char* const GameProgramName;

// The stand-in, running from folder/name (the folder is created) until it goes out of scope.
class RunningStandIn {
public:
    RunningStandIn(const std::filesystem::path& folder, const std::string& name = GameProgramName);

private:
    ChildProcess process_;
};

// The stand-in built for Windows with MinGW-w64, to be started under Wine on Linux; empty when
// the build found no MinGW-w64 compiler (and always on Windows).
std::string windowsStandIn();
