#include "install/Search.h"

#include "install/GamePaths.h"
#include "platform/AsciiCase.h"
#include "platform/FileSearch.h"
#include "platform/NativeGame.h"

#include <algorithm>
#include <cstdlib>

namespace InstallSearch {

namespace {

std::string trimmed(const std::string& path) {
    const std::size_t end = path.find_last_not_of("/\\");
    return end == std::string::npos ? path.substr(0, 1) : path.substr(0, end + 1);
}

// Why a place could not be looked at: the system's reason, after the folder that refused when
// it is not the place itself.
std::string reasonAt(const std::string& refused, const std::string& native,
                     const std::error_code& reason) {
    return trimmed(refused) == trimmed(native) ? reason.message()
                                               : trimmed(refused) + ": " + reason.message();
}

// The path up to its last part, and that part, of a folder ending in a separator.
std::pair<std::string, std::string> splitLast(const std::string& folder) {
    const std::string trimmed = folder.substr(0, folder.find_last_not_of("/\\") + 1);
    const std::size_t at = trimmed.find_last_of("/\\") + 1;
    return {trimmed.substr(0, at), trimmed.substr(at)};
}

} // namespace

void Search::lookAt(const std::string& route, const std::string& folder) {
    const auto [look, native] = lookAtOne(route, folder);
    const auto [parent, name] = splitLast(folder);
    if (found() || look == Look::Repeated || !AsciiCase::equalIgnoringCase(name, "System"))
        return;
    // Most places named are not there at all, nor the folders they are in. The look just made
    // tells without another: the folder was there, or its parent was read to match its letter
    // case.
    const std::string nativeParent = splitLast(native).first;
    const std::string parentKey = nativeParent.substr(0, nativeParent.find_last_not_of("/\\") + 1);
    const auto* names = listings_.known(parentKey);
    if (look == Look::Missing && !names)
        return;
    if (!names)
        names = &listings_.namesIn(parentKey); // none on Windows: looked at one by one
    const std::string separator = folder.substr(parent.size() + name.size());
    for (const char* sibling : {"System64", "SystemARM64"}) {
        const std::string path = parent + sibling + separator;
        if (!found() &&
            (names->all().empty() ? folderIdentity(NativePath::resolve(path)).has_value()
                                  : !names->matching(sibling).empty()))
            lookAtOne(route, path);
    }
}

std::pair<Search::Look, std::string> Search::lookAtOne(const std::string& route,
                                                       const std::string& folder) {
    if (found())
        return {Look::Repeated, {}};
    bool there = true;
    std::string native = NativePath::resolve(folder, NativePath::winePrefix(), &listings_, &there);
    const auto identity = there ? folderIdentity(native) : std::nullopt;
    // The same folder reached twice (two registry views that agree, a library listed twice, a
    // link to another library) is looked at once.
    if (seenBefore(Kind::SystemFolder, native, identity)) {
        note(Outcome::Repeated, route, folder);
        return {Look::Repeated, native};
    }
    if (!identity) {
        missing(route, folder, native, there);
        return {Look::Missing, native};
    }
    const auto look = FileSearch::look(native, GamePaths::TestFileName, &listings_);
    if (look.finding == FileSearch::Finding::Unreadable) {
        skip(route, folder, reasonAt(look.unreadable, native, look.reason));
        return {Look::There, native};
    }
    if (look.finding != FileSearch::Finding::File &&
        !(look.finding == FileSearch::Finding::NoFile && preferencesServe(native))) {
        note(look.finding == FileSearch::Finding::NoFile ? Outcome::NoFile : Outcome::NoFolder,
             route, folder);
        return {Look::There, native};
    }
    // A POSIX path takes the spelling found on disk; a Windows path stays as it is written.
    result_.systemDir = NativePath::isPosixForm(folder) ? native : folder;
    result_.places.push_back({Outcome::Found, result_.systemDir, route, {}});
    return {Look::There, native};
}

bool Search::preferencesServe(const std::string& nativeFolder) {
    if (!NativePath::isPosixForm(nativeFolder))
        return false;
    const auto& names = listings_.namesIn(trimmed(nativeFolder)).all();
    if (std::none_of(names.begin(), names.end(), NativeGame::isProgramName))
        return false;
    if (!preferencesHoldGame_) {
        const char* home = std::getenv("HOME");
        preferencesHoldGame_ = home && *home &&
                               FileSearch::look(NativeGame::preferenceFolderIn(home) + '/',
                                                GamePaths::TestFileName, &listings_)
                                       .finding == FileSearch::Finding::File;
    }
    return *preferencesHoldGame_;
}

std::string Search::whyNotThere(const std::string& native) const {
    if (const auto refused = listings_.unreadableOnWayTo(native))
        return reasonAt(refused->first, native, refused->second);
    return std::make_error_code(std::errc::no_such_file_or_directory).message();
}

void Search::missing(const std::string& route, const std::string& what, const std::string& native,
                     bool there) {
    if (const auto refused = listings_.unreadableOnWayTo(native))
        return skip(route, what, reasonAt(refused->first, native, refused->second));
    const std::error_code reason = there ? whyNoFolder(native) : std::error_code();
    if (reason && !meansMissing(reason))
        return skip(route, what, reason.message());
    note(Outcome::NoFolder, route, what);
}

bool Search::seenBefore(Kind kind, const std::string& nativeFolder) {
    return seenBefore(kind, nativeFolder, folderIdentity(nativeFolder));
}

bool Search::seenBefore(Kind kind, const std::string& nativeFolder,
                        const std::optional<FolderIdentity>& identity) {
    if (identity)
        return !seen_.emplace(kind, *identity).second;
    return !seenMissing_.insert(static_cast<char>('0' + static_cast<int>(kind)) + nativeFolder)
                .second;
}

void Search::skip(const std::string& route, const std::string& what, const std::string& why) {
    if (!found())
        result_.places.push_back({Outcome::Skipped, what, route, why});
}

void Search::note(Outcome outcome, const std::string& route, const std::string& what) {
    if (!found())
        result_.places.push_back({outcome, what, route, {}});
}

const char* nameOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::Found:
        return "found";
    case Outcome::NoFile:
        return "no file";
    case Outcome::NoFolder:
        return "no folder";
    case Outcome::Skipped:
        return "skipped";
    case Outcome::Repeated:
        return "repeated";
    }
    return "";
}

std::string reportLine(const Place& place) {
    std::string outcome = nameOf(place.outcome);
    outcome.resize(10, ' ');
    return outcome + place.folder + "  (" + place.route + ")" +
           (place.reason.empty() ? "" : ": " + place.reason);
}

} // namespace InstallSearch
