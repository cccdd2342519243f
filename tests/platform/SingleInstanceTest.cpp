#include "platform/SingleInstance.h"
#include "ChildProcess.h"
#include "TempDir.h"
#ifndef _WIN32
#include "EnvFolder.h"
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

constexpr int OnlyInstance = 0;
constexpr int AlreadyRunning = 3;

// A name of its own for each test, so that tests never meet a real running program.
std::string testName() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    return std::string("QuillonToolTest-") + info->name();
}

int runProbe(const std::string& name) {
    ChildProcess probe(siblingProgram("single_instance_probe"), {name});
    return probe.wait();
}

// Waits until the file exists; false when it never appears.
bool waitForFile(const std::filesystem::path& file) {
    for (int i = 0; i < 600; ++i) {
        if (std::filesystem::exists(file))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// Each test keeps its lock files (and the helper's sign that it holds the claim) in a folder of
// its own, removed afterwards; child processes inherit the folder through the environment.
class SingleInstanceTest : public ::testing::Test {
protected:
#ifndef _WIN32
    EnvFolder runtime{"XDG_RUNTIME_DIR"};
#endif
    TempDir scratch;
};

} // namespace

TEST_F(SingleInstanceTest, SecondClaimWhileFirstHeldIsRefused) {
    SingleInstance first(testName());
    ASSERT_TRUE(first.isOnlyInstance());
    SingleInstance second(testName());
    EXPECT_FALSE(second.isOnlyInstance());
    SingleInstance otherProgram(testName() + "-other");
    EXPECT_TRUE(otherProgram.isOnlyInstance());
}

TEST_F(SingleInstanceTest, ReleasedClaimCanBeTakenAgain) {
    { SingleInstance first(testName()); }
    SingleInstance again(testName());
    EXPECT_TRUE(again.isOnlyInstance());
}

TEST_F(SingleInstanceTest, SecondProcessIsRefusedWhileFirstHoldsTheClaim) {
    {
        SingleInstance first(testName());
        ASSERT_TRUE(first.isOnlyInstance());
        EXPECT_EQ(runProbe(testName()), AlreadyRunning);
    }
    EXPECT_EQ(runProbe(testName()), OnlyInstance);
}

TEST_F(SingleInstanceTest, KilledHolderNeverBlocksTheNextStart) {
    const auto ready = scratch.path() / "ready";
    ChildProcess holder(siblingProgram("single_instance_probe"), {testName(), ready.string()});
    ASSERT_TRUE(waitForFile(ready)) << "the helper never took the claim";
    EXPECT_FALSE(SingleInstance(testName()).isOnlyInstance());

    holder.kill();
    EXPECT_EQ(holder.wait(), -1);
    EXPECT_TRUE(SingleInstance(testName()).isOnlyInstance());
}
