#include "EnvFolder.h"
#include "TempDir.h"
#include "install/GamePaths.h"
#include "platform/FileSearch.h"
#include "platform/NativePath.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/xattr.h>

namespace fs = std::filesystem;

namespace {

// A scratch Wine prefix whose drive C: holds "Games/Unreal Tournament/System".
class WinePrefixTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(prefix.path() / "dosdevices");
        system = prefix.path() / "drive_c" / "Games" / "Unreal Tournament" / "System";
        fs::create_directories(system);
        fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices" / "c:");
    }
    void touch(const fs::path& path) const { std::ofstream(path) << "x\r\n"; }

    EnvFolder prefix{"WINEPREFIX"};
    fs::path system;
};

TEST_F(WinePrefixTest, windowsPathResolvesThroughDosdevicesIgnoringCase) {
    touch(system / "QLLoadouts.ini");
    const std::string resolved =
        NativePath::resolve("C:\\GAMES\\unreal tournament\\system\\QLLoadouts.ini");
    EXPECT_EQ(fs::canonical(resolved), fs::canonical(system / "QLLoadouts.ini"));
    EXPECT_EQ(NativePath::resolve("c:\\Games\\Unreal Tournament\\System\\").back(), '/');
}

TEST_F(WinePrefixTest, missingPartsAreKeptAsWrittenSoTheErrorNamesThem) {
    const std::string resolved = NativePath::resolve("C:\\Games\\Nowhere\\System\\QuillonMod.ini");
    EXPECT_TRUE(resolved.ends_with("/Games/Nowhere/System/QuillonMod.ini")) << resolved;
    EXPECT_FALSE(fs::exists(resolved));
}

TEST_F(WinePrefixTest, onlyAPlainVisibleFileQualifies) {
    EXPECT_FALSE(
        FileSearch::holdsPlainFile("C:\\Games\\Unreal Tournament\\System\\", "QLLoadouts.ini"));
    fs::create_directory(system / "QLLoadouts.ini");
    EXPECT_FALSE(
        FileSearch::holdsPlainFile("C:\\Games\\Unreal Tournament\\System\\", "QLLoadouts.ini"));
    EXPECT_FALSE(FileSearch::holdsPlainFile("C:\\No Such Folder\\", "QLLoadouts.ini"));
    EXPECT_FALSE(FileSearch::holdsPlainFile("Q:\\No Such Drive\\", "QLLoadouts.ini"));
}

TEST_F(WinePrefixTest, fileWineMarksHiddenOrSystemDoesNotQualify) {
    const fs::path file = system / "QLLoadouts.ini";
    touch(file);
    const char* dir = "C:\\Games\\Unreal Tournament\\System\\";
    EXPECT_TRUE(FileSearch::holdsPlainFile(dir, "QLLoadouts.ini"));
    if (::setxattr(file.c_str(), "user.DOSATTRIB", "0x2", 3, 0) != 0)
        GTEST_SKIP() << "this file system keeps no extended attributes";
    EXPECT_FALSE(FileSearch::holdsPlainFile(dir, "QLLoadouts.ini"));
    ::setxattr(file.c_str(), "user.DOSATTRIB", "0x4", 3, 0);
    EXPECT_FALSE(FileSearch::holdsPlainFile(dir, "QLLoadouts.ini"));
    ::setxattr(file.c_str(), "user.DOSATTRIB", "0x20", 4, 0); // archive only
    EXPECT_TRUE(FileSearch::holdsPlainFile(dir, "QLLoadouts.ini"));
}

TEST(PosixPaths, posixTypedPathsUseSlashesAndMatchFoldersIgnoringCase) {
    TempDir dir;
    fs::create_directories(dir.path() / "UT" / "System");
    std::ofstream(dir.path() / "UT" / "System" / "QLLoadouts.ini") << "x";
    const std::string typed = (dir.path() / "UT").string();
    const std::string systemDir = GamePaths::normaliseTypedPath(typed);
    EXPECT_EQ(systemDir, typed + "/system/");
    EXPECT_EQ(GamePaths::normaliseTypedPath(typed + "/SYSTEM"), typed + "/SYSTEM/");
    EXPECT_TRUE(FileSearch::holdsPlainFile(systemDir, "qlloadouts.ini"));
    EXPECT_EQ(NativePath::resolve(systemDir + "QLLoadouts.ini"),
              (dir.path() / "UT" / "System" / "QLLoadouts.ini").string());
}

} // namespace
