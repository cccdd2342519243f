// The folder whose settings files the game reads, settled once the search has found the install:
// the native game's preference folder, once the game has saved to it and before, LinuxGSM's
// server, and on Windows (under Wine) the VirtualStore copy of an install under Program Files,
// whose UnrealTournament.exe has no manifest or asks for an execution level. On Linux
// `quillon-settings set` then edits that folder, and with --system-dir exactly the folder named.
#include "TempDir.h"
#include "install/SettingsFolder.h"
#include "store/Startup.h"

#include <algorithm>
#include <fstream>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include "RunProgram.h"
#include "ScratchHome.h"
#endif

namespace fs = std::filesystem;

namespace {

struct Row {
    const char* name;
    std::string install; // the System folder the game runs from, below the scratch folder
    std::string program; // the game's program there: a native build's, or a stand-in's name
    std::string saved;   // where the game saves ("%" for below the VirtualStore copy)
    std::vector<std::string> savedFiles; // the files it saved there
    std::string settled;                 // the folder expected to be edited
    std::vector<std::string> toCopy = {};
    bool typed = false; // quillon-settings is given --system-dir with the install's folder
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

const std::vector<std::string> AllBut(std::vector<std::string> kept) {
    std::vector<std::string> names;
    for (const char* name :
         {"QLLoadouts.ini", "QuillonMod.ini", "QuillonUser.ini", "QuillonAI.ini", "QLAux.ini"})
        if (std::find(kept.begin(), kept.end(), name) == kept.end())
            names.emplace_back(name);
    return names;
}

#ifdef _WIN32
// A variable of the environment set while it exists, as Windows itself sets these.
class Variable {
public:
    Variable(const wchar_t* name, const fs::path& value) : name_(name) {
        std::wstring old(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
        old.resize(GetEnvironmentVariableW(name, old.data(), static_cast<DWORD>(old.size())));
        old_ = old;
        SetEnvironmentVariableW(name, value.wstring().c_str());
    }
    ~Variable() { SetEnvironmentVariableW(name_, old_.empty() ? nullptr : old_.c_str()); }

private:
    const wchar_t* name_;
    std::wstring old_;
};

// A scratch folder holding Program Files (x86) and the user's local application data.
class Scratch : public TempDir {
    Variable programFiles{L"ProgramFiles(x86)", path() / "PF86"};
    Variable localAppData{L"LOCALAPPDATA", path() / "Local"};
};

const std::string Install = "PF86/UT/System";
const std::vector<Row> Rows = {
    {"virtualStoreWithoutManifest",
     Install,
     "NoManifest.exe",
     "%" + Install,
     {"QuillonMod.ini"},
     "%" + Install,
     AllBut({"QuillonMod.ini"})},
    {"virtualStoreWithManifest",
     Install,
     "AsInvoker.exe",
     "%" + Install,
     {"QuillonMod.ini"},
     Install},
};
#else
using Scratch = ScratchHome;

const std::string Install = ".local/share/OldUnreal/UnrealTournament/System64";
const std::vector<Row> Rows = {
    {"nativeSavedOnce",
     Install,
     "ut-bin-amd64",
     ".utpg/System",
     {"QuillonMod.ini"},
     ".utpg/System",
     AllBut({"QuillonMod.ini"})},
    {"nativeNotYetSaved", Install, "ut-bin-amd64", ".utpg/System", {}, Install},
    {"linuxGsmLetterCaseIgnored",
     "serverfiles/System64",
     "ucc-bin",
     ".utpg/System",
     {"quillonmod.ini", "QLAUX.INI"},
     ".utpg/System",
     AllBut({"QuillonMod.ini", "QLAux.ini"})},
    {"systemDirMeansThatFolder",
     Install,
     "ut-bin-amd64",
     ".utpg/System",
     {"QuillonMod.ini"},
     Install,
     {},
     true},
};
#endif

std::string dirOf(fs::path folder) {
    return (folder / "").make_preferred().string();
}

void put(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

class SettledFolder : public testing::TestWithParam<Row> {};

TEST_P(SettledFolder, programsEditTheFolderTheGameReads) {
    const Row& row = GetParam();
    const Scratch scratch;
    const auto below = [&](const std::string& folder) {
        return folder.starts_with('%') ? scratch.path() / "Local/VirtualStore" /
                                             scratch.path().relative_path() / folder.substr(1)
                                       : scratch.path() / folder;
    };
    const fs::path install = below(row.install), saved = below(row.saved);
    const fs::path settled = below(row.settled);
    scratch.copyFilesFrom(QUILLON_EXAMPLES_DIR, row.install);
    if (row.program.ends_with(".exe")) {
        if (!*QUILLON_PROGRAM_STAND_INS)
            GTEST_SKIP() << "no stand-ins of UnrealTournament.exe: MinGW-w64 is not there";
        fs::copy_file(fs::path(QUILLON_PROGRAM_STAND_INS) / row.program,
                      install / "UnrealTournament.exe");
    } else {
        put(install / row.program, "");
    }
    // The game saved its own time limit there.
    std::string savedMod = TempDir::bytesOf(install / "QuillonMod.ini");
    savedMod.replace(savedMod.find("TimeLimit=20"), 12, "TimeLimit=33");
    fs::create_directories(saved);
    for (const auto& name : row.savedFiles)
        put(saved / name, savedMod);

    if (!row.typed) {
        InstallSearch::Result result;
        result.systemDir = dirOf(install);
        SettingsFolder::settle(result);
        EXPECT_EQ(result.systemDir, dirOf(settled)) << result.why;
        EXPECT_EQ(result.installDir, dirOf(install));
        EXPECT_EQ(result.toCopy, row.toCopy);
#ifdef _WIN32
        // A load reads what the folder lacks from the install and writes nothing; the first
        // save copies it there.
        Startup::SystemDir = result.systemDir;
        Startup::GameSystemDir = result.installDir == result.systemDir ? "" : result.installDir;
        Startup::LoadIniFiles();
        for (const auto& name : row.toCopy)
            EXPECT_FALSE(fs::exists(settled / name)) << name;
        Startup::SaveIniFiles(Startup::Rewrite::ChangedFiles);
#endif
    }
#ifndef _WIN32
    // A read writes nothing in the folder the game reads.
    const fs::path beside = row.typed ? install : settled;
    const auto before = TempDir::contentsOf(beside);
    std::vector<std::string> show{"show"};
    if (row.typed)
        show.insert(show.begin(), {"--system-dir", install.string()});
    EXPECT_EQ(runProgram(QUILLON_SETTINGS_PATH, show, scratch.path()).status, 0);
    EXPECT_EQ(TempDir::contentsOf(beside), before);
    // The program searches, copies what the folder lacks and sets the time limit there.
    std::vector<std::string> args{"set", "TimeLimit=41"};
    if (row.typed)
        args.insert(args.begin(), {"--system-dir", install.string()});
    const ProgramRun run = runProgram(QUILLON_SETTINGS_PATH, args, scratch.path());
    EXPECT_EQ(run.status, 0) << run.err;
    const fs::path edited =
        settled / (row.savedFiles.empty() || row.typed ? "QuillonMod.ini" : row.savedFiles[0]);
    EXPECT_NE(TempDir::bytesOf(edited).find("TimeLimit=41\r\n"), std::string::npos);
    if (settled != install) {
        EXPECT_EQ(TempDir::bytesOf(install / "QuillonMod.ini"),
                  TempDir::bytesOf(QUILLON_EXAMPLES_DIR "/QuillonMod.ini"));
    }
#endif
    for (const auto& name : row.toCopy)
        EXPECT_EQ(TempDir::bytesOf(settled / name), TempDir::bytesOf(install / name)) << name;
    for (std::size_t i = 1; i < row.savedFiles.size(); ++i)
        EXPECT_EQ(TempDir::bytesOf(saved / row.savedFiles[i]), savedMod) << row.savedFiles[i];
}

INSTANTIATE_TEST_SUITE_P(Rows, SettledFolder, testing::ValuesIn(Rows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
