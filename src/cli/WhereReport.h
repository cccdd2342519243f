#pragma once

#include "install/InstallSearch.h"

#include <string>

// What `quillon-settings where` prints: every place the search looked at, in order, one a line,
// and the folder the programs use.
namespace WhereReport {

// One line a place: its outcome, the folder (or what was skipped), where the search took it
// from and, for a place skipped, why; then "uses FOLDER", or "uses nothing" when none was found.
std::string text(const InstallSearch::Result& result);

// {"places": [{"outcome": ..., "folder": ..., "route": ..., "reason": ...}, ...],
//  "systemDir": FOLDER or null}
std::string json(const InstallSearch::Result& result);

} // namespace WhereReport
