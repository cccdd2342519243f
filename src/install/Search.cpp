#include "Search.h"

#include "AsciiCase.h"
#include "FileSearch.h"
#include "GamePaths.h"
#include "NativePath.h"

namespace InstallSearch {

void Search::lookAt(const std::string& route, const std::string& folder) {
    if (found())
        return;
    // The same folder reached twice (two registry views that agree, a library listed twice) is
    // looked at once.
    if (!seen_.insert(AsciiCase::toLower(NativePath::resolve(folder))).second)
        return note(Outcome::Repeated, route, folder);
    if (FileSearch::holdsPlainFile(folder, GamePaths::TestFileName)) {
        result_.places.push_back({Outcome::Found, folder, route, {}});
        result_.systemDir = folder;
        return;
    }
    note(FileSearch::isFolder(folder) ? Outcome::NoFile : Outcome::NoFolder, route, folder);
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

} // namespace InstallSearch
