#pragma once

#include "install/InstallSearch.h"
#include "platform/NativePath.h"

#include <set>
#include <string>

namespace InstallSearch {

// The search as the routes feed it, one place after another, until a folder holds
// QLLoadouts.ini. Once one has, nothing more is looked at.
class Search {
public:
    // Looks at a folder, given as SystemDir would hold it (a game path ending in a separator).
    void lookAt(const std::string& route, const std::string& folder);
    // A place that named no folder to look at.
    void skip(const std::string& route, const std::string& what, const std::string& why);
    // A place seen already, or one that is not there to be read.
    void note(Outcome outcome, const std::string& route, const std::string& what);
    bool found() const { return !result_.systemDir.empty(); }
    // The folders read so far to match letter case.
    NativePath::Listings& listings() { return listings_; }
    Result take() { return std::move(result_); }

private:
    Result result_;
    std::set<std::string> seen_;    // the folders looked at, in lower case
    NativePath::Listings listings_; // folders read while matching letter case (Wine's drives)
};

} // namespace InstallSearch
