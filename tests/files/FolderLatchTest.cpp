// The folder's lock, held by many at once in either way it is held, and what it leaves behind
// (a lock file left behind, and taken away by the next load, is shown by quillon-settings' tests).
#include "TempDir.h"
#include "files/FileIoSteps.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using FileIoSteps::FolderLatch;

namespace {

// Holders of one folder's lock at once, on the folder itself or on a lock file that its last
// holder takes away: never two where one holds it alone, and nothing left once all have let go.
TEST(FolderLatch, holdersExcludeEachOtherAndLeaveNothingBehind) {
    for (const bool onFileAlone : {false, true}) {
        SCOPED_TRACE(onFileAlone ? "on a lock file" : "on the folder");
        TempDir dir;
        std::atomic<int> alone{0}, sharing{0}, clashes{0};
        std::vector<std::thread> holders;
        for (int h = 0; h < 6; ++h)
            holders.emplace_back([&, h] {
                for (int round = 0; round < 40; ++round) {
                    const bool exclusive = (h + round) % 3 == 0;
                    FolderLatch latch(dir.dir(), onFileAlone);
                    while (latch.tryLock(exclusive) != FolderLatch::Outcome::Taken)
                        std::this_thread::sleep_for(std::chrono::microseconds(200));
                    auto& mine = exclusive ? alone : sharing;
                    ++mine;
                    if (alone > 1 || (alone > 0 && sharing > 0))
                        ++clashes;
                    std::this_thread::sleep_for(std::chrono::microseconds(300));
                    --mine;
                }
            });
        for (auto& holder : holders)
            holder.join();
        EXPECT_EQ(clashes, 0);
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}

} // namespace
