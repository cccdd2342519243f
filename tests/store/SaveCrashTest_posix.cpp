// A save killed at any moment leaves each settings file wholly old or wholly new, and once the
// next load has run, all five of one save and nothing of it beside them.
#include "FileVersions.h"
#include "TempDir.h"
#include "store/Startup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Big enough that a save takes a while to write.
constexpr int Lines = 3000;

// Saves version A and B of every file in turn, starting with the one the files do not hold,
// until it is killed.
[[noreturn]] void saveForever(const TempDir& dir) {
    try {
        Startup::SystemDir = dir.dir();
        Startup::LoadIniFiles();
        const char first = FileVersions::held(dir.path(), Lines) == 'A' ? 'B' : 'A';
        for (char version = first;; version = version == 'A' ? 'B' : 'A') {
            for (std::size_t f = 0; f < Startup::settingsFiles().size(); ++f)
                *Startup::settingsFiles()[f].lines =
                    splitLines(FileVersions::contents(f, version, Lines));
            Startup::SaveIniFiles();
        }
    } catch (...) {
        ::_exit(2);
    }
}

TEST(SaveCrash, killedSavesLeaveEachFileWholeAndTheNextLoadAllFiveOfOneSave) {
    TempDir dir;
    std::set<std::string> versions[5];
    for (std::size_t f = 0; f < 5; ++f) {
        dir.write(Startup::settingsFiles()[f].fileName, FileVersions::contents(f, 'O', Lines));
        for (char v : {'O', 'A', 'B'})
            versions[f].insert(FileVersions::contents(f, v, Lines));
    }
    std::mt19937 random(20261208);
    for (int kill = 0; kill < 50; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            saveForever(dir);
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(1000, 60000)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process failed by itself";
        for (std::size_t f = 0; f < 5; ++f)
            ASSERT_EQ(versions[f].count(dir.read(Startup::settingsFiles()[f].fileName)), 1u)
                << Startup::settingsFiles()[f].fileName << " is torn after kill " << kill;
        Startup::SystemDir = dir.dir();
        Startup::LoadIniFiles();
        ASSERT_NE(FileVersions::held(dir.path(), Lines), '?') << "mixed after kill " << kill;
        ASSERT_EQ(FileVersions::namesBeside(dir.path()), std::vector<std::string>{});
    }
}

} // namespace
