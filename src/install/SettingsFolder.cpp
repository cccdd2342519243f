#include "install/SettingsFolder.h"

#include "files/FileError.h"
#include "files/FileIo.h"
#include "files/NewFiles.h"
#include "install/GamePaths.h"
#include "install/PeImage.h"
#include "platform/FileSearch.h"
#include "platform/FolderIdentity.h"
#include "platform/GameProgramNames.h"
#include "platform/NativeGame.h"
#include "platform/VirtualStore.h"
#include "store/Startup.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace SettingsFolder {

namespace {

// The five files that the folder holds, or lacks.
std::vector<std::string> filesIn(const std::string& folder, bool held) {
    std::vector<std::string> names;
    for (const auto& file : Startup::settingsFiles())
        if ((FileSearch::find(folder, file.fileName) == FileSearch::Finding::File) == held)
            names.emplace_back(file.fileName);
    return names;
}

// Makes folder the one edited when it holds any of the five files, the others copied there
// first; returns whether it does.
bool takeWhenItHoldsAny(InstallSearch::Result& result, const std::string& folder,
                        const std::string& why) {
    if (filesIn(folder, true).empty())
        return false;
    result.systemDir = folder;
    // What neither holds is for the load to tell of.
    result.toCopy.clear();
    for (auto& name : filesIn(folder, false))
        if (FileSearch::holdsPlainFile(result.installDir, name))
            result.toCopy.push_back(std::move(name));
    result.why = why;
    if (!result.toCopy.empty()) {
        result.why += "; the settings files it lacks are read from the install, and the first "
                      "save copies them there (";
        for (const auto& name : result.toCopy)
            result.why += name + (&name == &result.toCopy.back() ? ")" : ", ");
    }
    return true;
}

std::string joined(const std::string& folder, std::string_view name) {
    return folder + std::string(name) + '/';
}

// Whether the folder below parent is where a native build runs from: a ut-bin* or ucc-bin* in
// one of its run folders, or a System64 or SystemARM64 folder without the Windows programs.
bool runsNatively(const std::string& parent, NativePath::Listings& listings) {
    bool programs = false, folder64 = false, windowsPrograms = false;
    for (const std::string_view runFolder : NativeGame::RunFolders) {
        const std::string folder = NativePath::resolve(joined(parent, runFolder), {}, &listings);
        if (!folderIdentity(folder))
            continue;
        folder64 = folder64 || runFolder != "System";
        for (const auto& name : listings.namesIn(folder).all()) {
            programs = programs || NativeGame::isProgramName(name);
            windowsPrograms = windowsPrograms || GameProgramNames::isWindowsProgram(name);
        }
    }
    return programs || (folder64 && !windowsPrograms);
}

// The folder a native build of the install below parent runs from: parent itself, or the newest
// build Luxtorpeda made in the game's folder (linuxdata-469e, say, whose System64 holds ut-bin
// and links to the game's own files); nothing for a Windows install.
std::optional<std::string> nativeBuild(const std::string& parent, NativePath::Listings& listings) {
    if (runsNatively(parent, listings))
        return parent;
    std::vector<std::string> builds;
    for (const auto& name : listings.namesIn(parent.substr(0, parent.size() - 1)).all())
        if (name.starts_with("linuxdata-"))
            builds.push_back(name);
    std::sort(builds.rbegin(), builds.rend());
    for (const auto& build : builds) {
        const std::string folder = joined(parent, build);
        bool programs = false;
        for (const std::string_view runFolder : NativeGame::RunFolders)
            for (const auto& name : listings.namesIn(joined(folder, runFolder)).all())
                programs = programs || NativeGame::isProgramName(name);
        if (programs)
            return folder;
    }
    return std::nullopt;
}

// The community's native builds: the folder the game runs from, and its preference folder.
void settleNative(InstallSearch::Result& result, const std::string& parent) {
    NativePath::Listings listings;
    const auto build = nativeBuild(parent, listings);
    if (!build)
        return;
    // Where no run folder holds the file (Luxtorpeda's linked the game's files before the mod
    // came, or the mod is only in the preference folder), the folder found is the install.
    bool runFolderHolds = false;
    for (const std::string_view runFolder : NativeGame::RunFolders) {
        const std::string folder = NativePath::resolve(joined(*build, runFolder));
        if (FileSearch::find(folder, GamePaths::TestFileName) == FileSearch::Finding::File) {
            result.installDir = result.systemDir = folder;
            runFolderHolds = true;
            break;
        }
    }
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        return;
    const std::string preferences = NativePath::resolve(NativeGame::preferenceFolderIn(home) + '/');
    if (!takeWhenItHoldsAny(result, preferences,
                            "the game's preference folder, where it reads its settings first and "
                            "saves them"))
        result.why = runFolderHolds || *build == parent
                         ? "the folder the game runs from; its preference folder " + preferences +
                               " holds none of the settings files yet"
                         : "the game's own System folder, which Proton runs it from; Luxtorpeda's "
                           "build in " +
                               *build +
                               " has no link to QLLoadouts.ini, so run natively the "
                               "game reads the settings only from " +
                               preferences + ", which holds none yet";
}

// An install that Windows virtualises: its VirtualStore copy.
void settleVirtualised(InstallSearch::Result& result, const std::string& store) {
    const std::string program = NativePath::resolve(result.installDir + "UnrealTournament.exe");
    PeImage::Facts facts;
    try {
        FileStamp stamp;
        facts = PeImage::read(readPlainFile(program, MaxFileBytes, stamp).view());
    } catch (const FileError& error) {
        result.why = "UnrealTournament.exe cannot be read (" + error.reason() +
                     "), so whether Windows gives the game its VirtualStore copy is not known";
        return;
    } catch (const PeImage::NotAnImage& error) {
        result.why = "UnrealTournament.exe is not a Windows program (" + std::string(error.what()) +
                     "), so whether Windows gives the game its VirtualStore copy is not known";
        return;
    }
    if (!PeImage::virtualised(facts))
        result.why = facts.bits32 ? "UnrealTournament.exe asks for an execution level, so Windows "
                                    "gives the game this folder, not a VirtualStore copy"
                                  : "UnrealTournament.exe is a 64-bit program, which Windows gives "
                                    "this folder, not a VirtualStore copy";
    else if (!takeWhenItHoldsAny(result, store,
                                 "the VirtualStore copy, which Windows gives the game in place of "
                                 "the install (UnrealTournament.exe asks for no execution level)"))
        result.why = "the game's VirtualStore copy " + store +
                     " holds none of the settings files yet, so the game reads this folder";
}

} // namespace

void settle(InstallSearch::Result& result) {
    result.installDir = result.systemDir;
    if (result.systemDir.empty())
        return;
    if (NativePath::isPosixForm(result.systemDir)) {
        std::string parent = result.systemDir.substr(0, result.systemDir.size() - 1);
        settleNative(result, parent.substr(0, parent.rfind('/') + 1));
    } else if (const auto store =
                   VirtualStore::storeFor(result.systemDir, VirtualStore::thisSystem())) {
        settleVirtualised(result, *store);
    }
}

void refuseUnwritable(const std::string& systemDir) {
    try {
        refuseUnwritableFolder(NativePath::resolve(systemDir), GamePaths::TestFileName);
    } catch (const FileError& error) {
#ifdef _WIN32
        const char* remedy = "run the program as administrator, or move the game out of Program "
                             "Files (to C:\\UnrealTournament, say)";
#else
        const char* remedy = "run the program as a user who may write there, or move the game "
                             "to a folder of your own";
#endif
        throw FileError(systemDir, error.code(),
                        error.reason() + "; the settings cannot be saved there: " + remedy);
    }
}

} // namespace SettingsFolder
