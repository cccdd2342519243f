// A save killed at any moment leaves each settings file wholly old or wholly new, and the next
// save leaves nothing of it behind.
#include "Startup.h"
#include "TempDir.h"

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

// Version v of the five files: big enough that a save takes a while to write.
std::string contents(std::size_t file, char version) {
    std::string bytes;
    for (int line = 0; line < 3000; ++line)
        bytes +=
            std::string(1, version) + std::to_string(file) + "-" + std::to_string(line) + "\r\n";
    return bytes;
}

// Saves version A and B of every file in turn until it is killed.
[[noreturn]] void saveForever(const std::string& systemDir) {
    try {
        Startup::SystemDir = systemDir;
        Startup::LoadIniFiles();
        for (char version = 'A';; version = version == 'A' ? 'B' : 'A') {
            for (std::size_t f = 0; f < Startup::settingsFiles().size(); ++f)
                *Startup::settingsFiles()[f].lines = splitLines(contents(f, version));
            Startup::SaveIniFiles();
        }
    } catch (...) {
        ::_exit(2);
    }
}

TEST(SaveCrash, killedSavesLeaveEachFileWhollyOldOrNewAndTheNextSaveCleansUp) {
    TempDir dir;
    std::set<std::string> versions[5];
    for (std::size_t f = 0; f < 5; ++f) {
        dir.write(Startup::settingsFiles()[f].fileName, contents(f, 'O'));
        for (char v : {'O', 'A', 'B'})
            versions[f].insert(contents(f, v));
    }
    std::mt19937 random(20261208);
    for (int kill = 0; kill < 50; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            saveForever(dir.dir());
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(1000, 60000)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process failed by itself";
        for (std::size_t f = 0; f < 5; ++f)
            ASSERT_EQ(versions[f].count(dir.read(Startup::settingsFiles()[f].fileName)), 1u)
                << Startup::settingsFiles()[f].fileName << " is torn after kill " << kill;
    }

    Startup::SystemDir = dir.dir();
    Startup::LoadIniFiles();
    Startup::SaveIniFiles();
    std::size_t names = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++names;
    EXPECT_EQ(names, 5u);
}

} // namespace
