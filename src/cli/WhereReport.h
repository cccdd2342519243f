#pragma once

#include "install/InstallSearch.h"

#include <string>

// What `quillon-settings where` prints: every place the search looked at, in order, one a line,
// and the folder the programs use.
namespace WhereReport {

// One line a place: its outcome, the folder (or what was skipped), where the search took it
// from and, for a place skipped, why; then "install FOLDER", the System folder the game runs
// from, and "uses FOLDER", the folder whose settings files the programs edit, with why when it is
// another; or "uses nothing" when none was found.
std::string text(const InstallSearch::Result& result);

// {"places": [{"outcome": ..., "folder": ..., "route": ..., "reason": ...}, ...],
//  "installDir": FOLDER or null, "systemDir": FOLDER or null, "why": TEXT or null,
//  "toCopy": [FILE NAME, ...]}. Valid UTF-8 whatever bytes a folder's name holds (JsonText.h).
std::string json(const InstallSearch::Result& result);

} // namespace WhereReport
