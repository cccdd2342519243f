#include "SingleInstance.h"
#include "ChildProcess.h"

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

} // namespace

TEST(SingleInstance, SecondClaimWhileFirstHeldIsRefused) {
    SingleInstance first(testName());
    ASSERT_TRUE(first.isOnlyInstance());
    SingleInstance second(testName());
    EXPECT_FALSE(second.isOnlyInstance());
    SingleInstance otherProgram(testName() + "-other");
    EXPECT_TRUE(otherProgram.isOnlyInstance());
}

TEST(SingleInstance, ReleasedClaimCanBeTakenAgain) {
    { SingleInstance first(testName()); }
    SingleInstance again(testName());
    EXPECT_TRUE(again.isOnlyInstance());
}

TEST(SingleInstance, SecondProcessIsRefusedWhileFirstHoldsTheClaim) {
    {
        SingleInstance first(testName());
        ASSERT_TRUE(first.isOnlyInstance());
        EXPECT_EQ(runProbe(testName()), AlreadyRunning);
    }
    EXPECT_EQ(runProbe(testName()), OnlyInstance);
}

TEST(SingleInstance, KilledHolderNeverBlocksTheNextStart) {
    const auto ready = std::filesystem::temp_directory_path() / (testName() + ".ready");
    std::filesystem::remove(ready);
    ChildProcess holder(siblingProgram("single_instance_probe"), {testName(), ready.string()});
    ASSERT_TRUE(waitForFile(ready)) << "the helper never took the claim";
    EXPECT_FALSE(SingleInstance(testName()).isOnlyInstance());

    holder.kill();
    EXPECT_EQ(holder.wait(), -1);
    EXPECT_TRUE(SingleInstance(testName()).isOnlyInstance());
    std::filesystem::remove(ready);
}
