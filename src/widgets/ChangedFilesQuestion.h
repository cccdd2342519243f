#pragma once

#include <QString>

#include <string>
#include <vector>

// The question a save asks when settings files were written by another program (the game writes
// its settings when it closes) since they were loaded or last saved.

// The question's text, naming the files.
QString changedFilesQuestionText(const std::vector<std::string>& fileNames);

// Asks it (Yes/No, exclamation icon); true when the files are to be replaced. The program
// registers it with the store at start-up.
bool askToReplaceChangedFiles(const std::vector<std::string>& fileNames);
