#pragma once

#include "platform/NativePath.h"

#include <string>

namespace FileSearch {

// What a search of a folder for a file finds.
enum class Finding {
    File,     // a plain file of that name
    NoFile,   // the folder, without such a file
    NoFolder, // no folder that can be searched
};

// Looks in a folder (a game path) for a plain file of that name, compared ignoring case: not a
// folder, not hidden, not a system file. A folder that is missing or cannot be searched holds
// nothing. Under Wine, the hidden and system marks are the ones Wine keeps for the file. The
// listings (when given) keep the folders read while the path was matched ignoring case.
Finding find(const std::string& folder, const std::string& fileName,
             NativePath::Listings* listings = nullptr);

// Whether the folder holds such a file.
inline bool holdsPlainFile(const std::string& folder, const std::string& fileName) {
    return find(folder, fileName) == Finding::File;
}

} // namespace FileSearch
