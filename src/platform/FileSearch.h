#pragma once

#include "platform/NativePath.h"

#include <string>
#include <system_error>

namespace FileSearch {

// What a search of a folder for a file finds.
enum class Finding {
    File,       // a plain file of that name
    NoFile,     // the folder, without such a file
    NoFolder,   // no such folder
    Unreadable, // a folder (or one on the way to it) that is there but cannot be read
};

// A finding, and for a folder that cannot be read the folder and the system's reason.
struct Look {
    Finding finding;
    std::string unreadable = {}; // the folder that could not be read (the one searched or above)
    std::error_code reason = {};
};

// Looks in a folder (a game path) for a plain file of that name, compared ignoring case: not a
// folder, not hidden, not a system file. Under Wine, the hidden and system marks are the ones
// Wine keeps for the file. The listings (when given) keep the folders read while the path was
// matched ignoring case, and the folder searched, so that each is read once.
Look look(const std::string& folder, const std::string& fileName,
          NativePath::Listings* listings = nullptr);

// The same, for callers to whom a folder that cannot be searched holds nothing.
inline Finding find(const std::string& folder, const std::string& fileName,
                    NativePath::Listings* listings = nullptr) {
    const Finding finding = look(folder, fileName, listings).finding;
    return finding == Finding::Unreadable ? Finding::NoFolder : finding;
}

// Whether the folder holds such a file.
inline bool holdsPlainFile(const std::string& folder, const std::string& fileName) {
    return find(folder, fileName) == Finding::File;
}

} // namespace FileSearch
