#include "GameProcess.h"
#include "GameStandIn.h"
#include "NativePath.h"
#include "TempDir.h"
#ifndef _WIN32
#include "EnvFolder.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

// The stand-in runs as `program` from `folder` below drive C: of a scratch Wine prefix, whose
// C:\UT\System is the System folder in use.
struct Case {
    const char* name;
    const char* folder;
    const char* program;
    bool underWine; // started by Wine in that prefix, rather than as a program of this system
    bool found;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

#ifdef _WIN32
const Case Cases[] = {
    {"GameInTheSystemFolder", "UT/System", "UnrealTournament.exe", false, true},
    {"ServerInTheSystemFolderSpeltInOtherCase", "UT/SYSTEM", "ucc.EXE", false, true},
    {"GameInAnotherFolder", "Other/System", "UnrealTournament.exe", false, false},
};
#else
const Case Cases[] = {
    {"LinuxGameInTheSystemFolder", "UT/System", "ut-bin", false, true},
    {"LinuxServerInSystem64BesideIt", "UT/System64", "ucc-bin-amd64", false, true},
    {"LinuxGameInAnotherFolder", "Other/System", "ut-bin", false, false},
    {"OtherProgramInTheSystemFolder", "UT/System", "ut-editor", false, false},
    {"WindowsGameUnderWineInThePrefixsSystemFolder", "UT/System", "UnrealTournament.exe", true,
     true},
};

// The Windows stand-in, started by Wine as C:\<folder>\<program> of the prefix, which Wine sets
// up on first use; Wine's processes of that prefix are ended with it.
class UnderWine {
public:
    UnderWine(const TempDir& prefix, const Case& c)
        : prefix_("WINEPREFIX=" + prefix.path().string()),
          game_("/usr/bin/env", {prefix_, "WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml=",
                                 QUILLON_WINE, windowsPath(prefix, c)}) {}
    ~UnderWine() {
        game_.kill();
        ChildProcess("/usr/bin/env", {prefix_, QUILLON_WINESERVER, "-k"}).wait();
        ChildProcess("/usr/bin/env", {prefix_, QUILLON_WINESERVER, "-w"}).wait();
    }

private:
    static std::string windowsPath(const TempDir& prefix, const Case& c) {
        const auto folder = prefix.path() / "drive_c" / c.folder;
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(windowsStandIn(), folder / c.program);
        std::string path = std::string("C:\\") + c.folder + "\\" + c.program;
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

    std::string prefix_;
    ChildProcess game_;
};
#endif

class GameProcessTest : public ::testing::TestWithParam<Case> {
protected:
#ifndef _WIN32
    // This process's own prefix is another, empty one: a game under Wine is looked up in its own.
    EnvFolder ownPrefix{"WINEPREFIX"};
#endif
    TempDir prefix;

    // The game found running from the System folder; a game expected is waited for (Wine sets
    // up a new prefix first), one not expected is looked for once, the process having started.
    std::optional<GameProcess::Running> gameFound(bool expected) const {
        const std::string systemFolder =
            NativePath::resolve((prefix.path() / "drive_c/UT/System/").string());
        std::filesystem::create_directories(systemFolder);
        auto game = GameProcess::runningFrom(systemFolder);
        for (int i = 0; expected && !game && i < 1800; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            game = GameProcess::runningFrom(systemFolder);
        }
        return game;
    }
};

} // namespace

TEST_P(GameProcessTest, FoundOnlyWhenRunningFromTheSystemFolder) {
    const Case& c = GetParam();
    std::optional<GameProcess::Running> game;
    if (!c.underWine) {
        const RunningStandIn standIn(prefix.path() / "drive_c" / c.folder, c.program);
        game = gameFound(c.found);
    } else {
#ifndef _WIN32
        if (windowsStandIn().empty()) {
            GTEST_SKIP() << "no MinGW-w64 compiler was found to build a Windows program with";
        }
        if (std::string(QUILLON_WINE).empty()) {
            GTEST_SKIP() << "Wine is not installed";
        }
        const UnderWine standIn(prefix, c);
        game = gameFound(c.found);
#endif
    }
    ASSERT_EQ(game.has_value(), c.found);
    if (game) {
        EXPECT_EQ(game->program, c.program);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, GameProcessTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });
