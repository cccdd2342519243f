#pragma once

#include "platform/GameProcess.h"

#include <optional>
#include <string>

// What quillon-settings says of the game running from the System folder in use: it reads the
// settings only when it starts and may write its own over them when it closes. The command line
// never asks; a server operator restarts the server after a change.

// One line without its end, naming the program and its process.
std::string runningGameText(const GameProcess::Running& game);

// The note for the System folder in Startup::SystemDir when the game runs from it: what `show`
// writes to standard error after "quillon-settings: note: ". Nothing when it does not run.
std::optional<std::string> runningGameNote();

// Registered with the store as its game-running question: warns on standard error, naming the
// game, and saves anyway.
bool warnAndSaveWhileTheGameRuns(const GameProcess::Running& game);
