#include "cli/SystemFolder.h"

#include "cli/Console.h"
#include "cli/Failure.h"
#include "files/FileError.h"
#include "install/GamePaths.h"
#include "install/InstallSearch.h"
#include "install/SettingsFolder.h"
#include "platform/FileSearch.h"
#include "store/Startup.h"

void findSystemFolder(const std::optional<std::string>& typedFolder) {
    if (typedFolder) {
        Startup::SystemDir =
            GamePaths::normaliseTypedPath(Console::gamePathFromArgument(*typedFolder));
        Startup::GameSystemDir.clear();
        if (!FileSearch::holdsPlainFile(Startup::SystemDir, GamePaths::TestFileName))
            throw Failure(ExitStatus::NoSystemFolder,
                          "no System folder: " + quoted(Startup::SystemDir) + " holds no " +
                              GamePaths::TestFileName);
        return;
    }

    Startup::InstallFolder = GamePaths::readInstallFolder();
    const auto result = InstallSearch::search(Startup::InstallFolder);
    if (result.systemDir.empty())
        throw Failure(ExitStatus::NoSystemFolder,
                      "no System folder found: none of the " +
                          std::to_string(result.places.size()) + " places looked at holds " +
                          GamePaths::TestFileName +
                          " (quillon-settings where lists them); name the game's folder with "
                          "--system-dir DIR");
    Startup::SystemDir = result.systemDir;
    Startup::GameSystemDir = result.installDir == result.systemDir ? "" : result.installDir;
}

std::optional<std::string> unwritableSettingsFolder() {
    try {
        SettingsFolder::refuseUnwritable(Startup::SystemDir);
        return std::nullopt;
    } catch (const FileError& error) {
        return "cannot write in " + quoted(error.path()) + ": " + error.reason();
    }
}
