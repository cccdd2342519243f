#include "install/Search.h"

#include "install/GamePaths.h"
#include "platform/AsciiCase.h"
#include "platform/FileSearch.h"

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
    lookAtOne(route, folder);
    const auto [parent, name] = splitLast(folder);
    if (found() || !AsciiCase::equalIgnoringCase(name, "System"))
        return;
    const std::string separator = folder.substr(parent.size() + name.size());
    for (const char* sibling : {"System64", "SystemARM64"}) {
        const std::string path = parent + sibling + separator;
        if (!found() && folderIdentity(NativePath::resolve(path, NativePath::winePrefix(), &listings_)))
            lookAtOne(route, path);
    }
}

void Search::lookAtOne(const std::string& route, const std::string& folder) {
    if (found())
        return;
    // The same folder reached twice (two registry views that agree, a library listed twice, a
    // link to another library) is looked at once.
    const std::string native = NativePath::resolve(folder, NativePath::winePrefix(), &listings_);
    if (seenBefore(Kind::SystemFolder, native))
        return note(Outcome::Repeated, route, folder);
    switch (FileSearch::find(native, GamePaths::TestFileName, &listings_)) {
    case FileSearch::Finding::File:
        // A POSIX path takes the spelling found on disk; a Windows path stays as it is written.
        result_.systemDir = NativePath::isPosixForm(folder) ? native : folder;
        result_.places.push_back({Outcome::Found, result_.systemDir, route, {}});
        return;
    case FileSearch::Finding::NoFile:
        return note(Outcome::NoFile, route, folder);
    case FileSearch::Finding::NoFolder:
        return note(Outcome::NoFolder, route, folder);
    }
}

bool Search::seenBefore(Kind kind, const std::string& nativeFolder) {
    if (const auto identity = folderIdentity(nativeFolder))
        return !seen_.emplace(kind, *identity).second;
    return !seenMissing_.emplace(kind, nativeFolder).second;
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
