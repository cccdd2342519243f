#include "install/Search.h"

#include "install/GamePaths.h"
#include "platform/AsciiCase.h"
#include "platform/FileSearch.h"

#include <algorithm>

namespace InstallSearch {

namespace {

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
        const auto named = [&](const std::string& entry) {
            return AsciiCase::equalIgnoringCase(entry, sibling);
        };
        const std::string path = parent + sibling + separator;
        if (!found() && (names->empty() ? folderIdentity(NativePath::resolve(path)).has_value()
                                        : std::any_of(names->begin(), names->end(), named)))
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
    const auto finding = identity ? FileSearch::find(native, GamePaths::TestFileName, &listings_)
                                  : FileSearch::Finding::NoFolder;
    if (finding != FileSearch::Finding::File) {
        note(finding == FileSearch::Finding::NoFile ? Outcome::NoFile : Outcome::NoFolder, route,
             folder);
        return {identity ? Look::There : Look::Missing, native};
    }
    // A POSIX path takes the spelling found on disk; a Windows path stays as it is written.
    result_.systemDir = NativePath::isPosixForm(folder) ? native : folder;
    result_.places.push_back({Outcome::Found, result_.systemDir, route, {}});
    return {Look::There, native};
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
