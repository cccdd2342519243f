#include "install/Search.h"

#include "install/GamePaths.h"
#include "platform/AsciiCase.h"
#include "platform/FileSearch.h"
#include "platform/NativePath.h"

namespace InstallSearch {

void Search::lookAt(const std::string& route, const std::string& folder) {
    if (found())
        return;
    // The same folder reached twice (two registry views that agree, a library listed twice) is
    // looked at once.
    if (!seen_.insert(AsciiCase::toLower(folder)).second)
        return note(Outcome::Repeated, route, folder);
    switch (FileSearch::find(folder, GamePaths::TestFileName, &listings_)) {
    case FileSearch::Finding::File:
        // A POSIX path takes the spelling found on disk; a Windows path stays as it is written.
        result_.systemDir = NativePath::isPosixForm(folder) ? NativePath::resolve(folder) : folder;
        result_.places.push_back({Outcome::Found, result_.systemDir, route, {}});
        return;
    case FileSearch::Finding::NoFile:
        return note(Outcome::NoFile, route, folder);
    case FileSearch::Finding::NoFolder:
        return note(Outcome::NoFolder, route, folder);
    }
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
