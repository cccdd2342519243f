#include "GamePaths.h"

#include <gtest/gtest.h>

// The registry gives the install folder in the ANSI code page; paths on Linux are UTF-8.
TEST(InstallFolderPath, FirstCandidateIsTheInstallFolderInUtf8) {
    const auto dirs = GamePaths::candidateDirs("C:\\Jeux\\Caf\xE9 \x80");
    EXPECT_EQ(dirs[0], "C:\\Jeux\\Caf\xC3\xA9 \xE2\x82\xAC\\System\\");
    EXPECT_EQ(dirs[1], "C:\\Unreal Tournament\\System\\");
}

TEST(InstallFolderPath, InstallFolderIsJoinedAsItStands) {
    EXPECT_EQ(GamePaths::candidateDirs("")[0], "\\System\\");
    EXPECT_EQ(GamePaths::candidateDirs("C:\\UT\\")[0], "C:\\UT\\\\System\\");
}
