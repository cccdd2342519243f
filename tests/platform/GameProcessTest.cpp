#include "platform/GameProcess.h"
#include "ChildProcess.h"
#include "GameStandIn.h"
#include "TempDir.h"
#ifndef _WIN32
#include "EnvFolder.h"
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// The stand-in runs as `program` from `folder` below drive C: of a scratch Wine prefix, whose
// C:\UT\System is the System folder in use; underWine, it is started by Wine in that prefix.
// With preferences, the folder in use is the preference folder in the home the stand-in is given,
// and preferences its arguments.
struct Case {
    const char *name, *folder, *program;
    bool found, underWine = false;
    const char* preferences = nullptr;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; } // names it in ctest
};

#ifdef _WIN32
const Case Cases[] = {
    {"GameInTheSystemFolder", "UT/System", "UnrealTournament.exe", true},
    {"ServerInTheSystemFolderSpeltInOtherCase", "UT/SYSTEM", "ucc.EXE", true},
    {"GameInAnotherFolder", "Other/System", "UnrealTournament.exe", false},
};
#else
const Case Cases[] = {
    {"LinuxGameInTheSystemFolder", "UT/System", "ut-bin", true},
    {"LinuxServerInSystem64BesideIt", "UT/System64", "ucc-bin-amd64", true},
    {"LinuxGameInAnotherFolder", "Other/System", "ut-bin", false},
    {"OtherProgramInTheSystemFolder", "UT/System", "ut-editor", false},
    {"WindowsGameUnderWineInThePrefix", "UT/System", "UnrealTournament.exe", true, true},
    {"LinuxGameSavingInItsPreferenceFolder", "Other/System64", "ut-bin-amd64", true, false, ""},
    {"LinuxServerToldToKeepItsSettings", "Other/System64", "ucc-bin", false, false, "-nohomedir"},
};
#endif

// Ends every Wine process of a prefix, so that the prefix can be removed.
struct WineProcesses {
    std::string prefix; // "WINEPREFIX=...", or empty when Wine was not started
    ~WineProcesses() {
        if (!prefix.empty())
            ChildProcess("/usr/bin/env", {prefix, "sh", "-c", "wineserver -k; wineserver -w"})
                .wait();
    }
};

class GameProcessTest : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(GameProcessTest, FoundOnlyWhenRunningFromTheSystemFolder) {
    const Case& c = GetParam();
#ifndef _WIN32
    const EnvFolder ownPrefix("WINEPREFIX"); // this process's own, empty: the game's is another
#endif
    const TempDir prefix;
    const auto drive = prefix.path() / "drive_c";
    const auto home = prefix.path() / "home";
    const std::string system =
        (c.preferences ? home / ".utpg/System/" : drive / "UT/System/").string();
    std::filesystem::create_directories(system);
    std::vector<std::string> args;
    WineProcesses wine;
    if (c.preferences) {
        args = {"HOME=" + home.string(), copyOfStandIn(drive / c.folder, c.program)};
        if (*c.preferences)
            args.emplace_back(c.preferences);
    }
#ifndef _WIN32
    if (c.underWine) {
        if (!*QUILLON_WINDOWS_STAND_IN || !*QUILLON_WINE) {
            GTEST_SKIP() << "needs Wine and the MinGW-w64 compiler (make test installs both)";
        }
        copyOfStandIn(drive / c.folder, c.program, QUILLON_WINDOWS_STAND_IN);
        wine.prefix = "WINEPREFIX=" + prefix.path().string();
        args = {wine.prefix, "WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml=", QUILLON_WINE,
                "C:\\UT\\System\\" + std::string(c.program)};
    }
#endif
    ChildProcess game(c.underWine || c.preferences ? "/usr/bin/env"
                                                   : copyOfStandIn(drive / c.folder, c.program),
                      args);

    // A game expected is waited for, as Wine sets up the new prefix first; one not expected is
    // looked for once, the process having started.
    auto found = GameProcess::runningFrom(system);
    for (int i = 0; c.found && !found && i < 1800; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        found = GameProcess::runningFrom(system);
    }
    EXPECT_EQ(found ? found->program : "(none)", c.found ? c.program : "(none)");
}

INSTANTIATE_TEST_SUITE_P(Table, GameProcessTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });
