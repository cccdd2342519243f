// The folder's lock, held by many at once in either way it is held, and what it leaves behind.
#include "TempDir.h"
#include "files/FileIoSteps.h"
#include "files/FolderLock.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using FileIoSteps::FolderLatch;

namespace {

// Holders of one folder's lock at once, on the folder itself or on a lock file that its last
// holder takes away: never two where one holds it alone, and nothing left once all have let go.
TEST(FolderLatch, holdersExcludeEachOtherAndLeaveNothingBehind) {
    for (const bool onFileAlone : {false, true}) {
        SCOPED_TRACE(onFileAlone ? "on a lock file" : "on the folder");
        TempDir dir;
        std::atomic<int> alone{0}, sharing{0}, clashes{0}, taken{0};
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
                    ++taken;
                    if (alone > 1 || (alone > 0 && sharing > 0))
                        ++clashes;
                    std::this_thread::sleep_for(std::chrono::microseconds(300));
                    --mine;
                }
            });
        for (auto& holder : holders)
            holder.join();
        EXPECT_EQ(taken, 6 * 40);
        EXPECT_EQ(clashes, 0);
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}

#ifndef _WIN32
// A lock file left behind goes once the lock is next held alone (quillon-settings' tests show
// it); one that an earlier version of the program still holds stays where it is.
TEST(FolderLatch, aLockFileStillLockedStays) {
    TempDir dir;
    dir.write(FileIoSteps::LockName, "");
    const int held = ::open((dir.dir() + FileIoSteps::LockName).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_SH), 0);
    const std::vector<std::string> paths{dir.dir() + "a.ini"};
    { const FolderLock lock(paths, FolderLock::Mode::Exclusive); }
    EXPECT_TRUE(fs::exists(dir.path() / FileIoSteps::LockName));
    ::close(held);
}
#endif

} // namespace
