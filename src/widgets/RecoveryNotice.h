#pragma once

#include <string>
#include <vector>

// Tells the user, in one message box (exclamation icon), what the recovery of a save cut short
// did that they should know of: a file left as it is, a commit record not followed. The program
// registers it with the store at start-up.
void tellRecoveryNotes(const std::vector<std::string>& notes);
