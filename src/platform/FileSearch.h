#pragma once

#include <string>

namespace FileSearch {

// Whether the folder (a game path) holds a plain file of that name, compared ignoring case:
// not a folder, not hidden, not a system file. A folder that is missing or cannot be searched
// holds nothing. Under Wine, the hidden and system marks are the ones Wine keeps for the file.
bool holdsPlainFile(const std::string& folder, const std::string& fileName);

// Whether the game path names a folder that is there (a link to one counts).
bool isFolder(const std::string& folder);

} // namespace FileSearch
