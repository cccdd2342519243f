#pragma once

#include "platform/GameProcess.h"

#include <QString>

// The question a save asks when the game runs from the System folder in use: the game reads
// these settings only when it starts, and may write its own over them when it closes.

// The question's text, naming the game's program.
QString gameRunningQuestionText(const GameProcess::Running& game);

// Asks it (Yes/No, exclamation icon, No the default and what Escape gives); true when the
// settings are to be saved anyway. The program registers it with the store at start-up.
bool askToSaveWhileTheGameRuns(const GameProcess::Running& game);
