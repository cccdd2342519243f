#pragma once

#include "install/InstallSearch.h"
#include "platform/FolderIdentity.h"
#include "platform/NativePath.h"

#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>

namespace InstallSearch {

// The search as the routes feed it, one place after another, until a folder holds
// QLLoadouts.ini. Once one has, nothing more is looked at. It keeps the one record of the places
// looked at, so that each is looked at once however many routes reach it.
class Search {
public:
    // What a place looked at is to the search: a folder that might hold the settings files, a
    // Steam folder, a Steam library, a Wine prefix or a folder of prefixes.
    enum class Kind { SystemFolder, SteamFolder, SteamLibrary, WinePrefix, PrefixFolder };

    // Looks at a folder, given as SystemDir would hold it (a game path ending in a separator).
    // A System folder's siblings System64 and SystemARM64, where the community's builds for
    // 64-bit processors run, are looked at after it when they are there.
    void lookAt(const std::string& route, const std::string& folder);
    // A place that named no folder to look at.
    void skip(const std::string& route, const std::string& what, const std::string& why);
    // A place seen already, or one that is not there to be read.
    void note(Outcome outcome, const std::string& route, const std::string& what);
    // A place (what, at a native path) that names no folder to look at: "no folder" when nothing
    // is there, else skipped with the system's reason (a folder on the way that may not be
    // read, say). there tells whether every part of the path was found.
    void missing(const std::string& route, const std::string& what, const std::string& native,
                 bool there = true);
    // Why a native path found not there as written nor ignoring letter case is not there: a
    // folder on the way that could not be read, or that nothing is.
    std::string whyNotThere(const std::string& native) const;
    bool found() const { return !result_.systemDir.empty(); }
    // Whether a place of this kind (a native path) has been looked at already, judged by the
    // folder's identity, not by its spelling; a place not there to be looked at is judged by its
    // spelling. It counts as looked at from now on.
    bool seenBefore(Kind kind, const std::string& nativeFolder);
    // The same for a folder whose identity is known (nothing: it is not there).
    bool seenBefore(Kind kind, const std::string& nativeFolder,
                    const std::optional<FolderIdentity>& identity);
    // The folders read so far to match letter case.
    NativePath::Listings& listings() { return listings_; }
    Result take() { return std::move(result_); }

private:
    enum class Look { Missing, There, Repeated };
    // Looks at one folder; returns what it found and the folder's native path.
    std::pair<Look, std::string> lookAtOne(const std::string& route, const std::string& folder);
    // Whether a native game's folder without QLLoadouts.ini is the game all the same: it holds
    // the game's program, and the game's preference folder, which it reads first, holds the file
    // (a mod installed there with its .umod).
    bool preferencesServe(const std::string& nativeFolder);

    Result result_;
    std::set<std::pair<Kind, FolderIdentity>> seen_;
    std::unordered_set<std::string> seenMissing_; // the kind's number, then the path
    NativePath::Listings listings_; // folders read while matching letter case (Wine's drives)
    std::optional<bool> preferencesHoldGame_; // the native game's preference folder, once looked at
};

} // namespace InstallSearch
