#include "SystemFolder.h"

#include "Console.h"
#include "Failure.h"
#include "FileSearch.h"
#include "GamePaths.h"
#include "NativePath.h"
#include "Startup.h"

namespace {

bool holdsTestFile(const std::string& folder) {
    return FileSearch::holdsPlainFile(folder, GamePaths::TestFileName);
}

std::string inQuotes(const std::string& nativeText) {
    return quoted(Console::utf8FromNative(nativeText));
}

} // namespace

void findSystemFolder(const std::optional<std::string>& typedFolder) {
    if (typedFolder) {
        const auto gamePath = Console::gamePathFromArgument(*typedFolder);
        if (!gamePath)
            throw Failure(ExitStatus::Refused,
                          "--system-dir " + quoted(*typedFolder) +
                              ": the folder's name holds a character the system's code page "
                              "cannot hold");
        Startup::SystemDir = GamePaths::normaliseTypedPath(*gamePath);
        if (!holdsTestFile(Startup::SystemDir))
            throw Failure(ExitStatus::NoSystemFolder,
                          "no System folder: " + inQuotes(Startup::SystemDir) + " holds no " +
                              GamePaths::TestFileName);
        return;
    }

    Startup::InstallFolder = GamePaths::readInstallFolder();
    const auto candidates = GamePaths::candidateDirs(Startup::InstallFolder);
    const int accepted = GamePaths::firstAcceptedCandidate(candidates, holdsTestFile);
    if (accepted < 0) {
        std::string tried;
        for (const auto& candidate : candidates)
            tried += (tried.empty() ? "" : ", ") + inQuotes(candidate);
        const std::string prefix = NativePath::winePrefix();
        throw Failure(ExitStatus::NoSystemFolder,
                      "no System folder found: none of " + tried +
                          (prefix.empty() ? "" : " (in the Wine prefix " + inQuotes(prefix) + ")") +
                          " holds " + GamePaths::TestFileName +
                          "; name the game's folder with --system-dir DIR");
    }
    Startup::SystemDir = candidates[static_cast<std::size_t>(accepted)];
}
