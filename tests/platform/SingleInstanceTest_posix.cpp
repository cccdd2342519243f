#include "EnvFolder.h"
#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Points XDG_RUNTIME_DIR at a fresh folder for one test, and restores it afterwards.
class RuntimeFolder : public testing::Test {
protected:
    fs::path lockFile(const std::string& name) const {
        return folder / (name + "-" + std::to_string(::getuid()) + ".lock");
    }

    EnvFolder runtime{"XDG_RUNTIME_DIR"};
    const fs::path& folder = runtime.path();
};

} // namespace

TEST_F(RuntimeFolder, LockFileLiesInTheRuntimeFolderWithTheUserId) {
    SingleInstance instance("QuillonToolTest");
    ASSERT_TRUE(instance.isOnlyInstance());
    EXPECT_TRUE(fs::exists(lockFile("QuillonToolTest")));
}

TEST_F(RuntimeFolder, StaleLockFileLeftBehindDoesNotBlock) {
    std::ofstream(lockFile("QuillonToolTest")) << "12345\n";
    SingleInstance instance("QuillonToolTest");
    EXPECT_TRUE(instance.isOnlyInstance());
    EXPECT_FALSE(SingleInstance("QuillonToolTest").isOnlyInstance());
}

TEST_F(RuntimeFolder, LockFileThatCannotBeOpenedDoesNotKeepTheProgramFromStarting) {
    // A folder where the lock file should be: it cannot be opened as a file.
    fs::create_directory(lockFile("QuillonToolTest"));
    EXPECT_TRUE(SingleInstance("QuillonToolTest").isOnlyInstance());
}

TEST_F(RuntimeFolder, WithoutRuntimeFolderTheTemporaryFolderIsUsed) {
    ::unsetenv("XDG_RUNTIME_DIR");
    SingleInstance first("QuillonToolTest-" + std::to_string(::getpid()));
    ASSERT_TRUE(first.isOnlyInstance());
    EXPECT_FALSE(SingleInstance("QuillonToolTest-" + std::to_string(::getpid())).isOnlyInstance());
    EXPECT_TRUE(
        fs::exists(fs::temp_directory_path() / ("QuillonToolTest-" + std::to_string(::getpid()) +
                                                "-" + std::to_string(::getuid()) + ".lock")));
    fs::remove(fs::temp_directory_path() / ("QuillonToolTest-" + std::to_string(::getpid()) + "-" +
                                            std::to_string(::getuid()) + ".lock"));
}
