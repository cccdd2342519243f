#include "install/GamePaths.h"

#include <gtest/gtest.h>

TEST(GamePaths, typedFolderIsCompletedToTheSystemFolderWithBackslashes) {
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\UnrealTournament", "C:\\UnrealTournament\\system\\"},
        {"C:\\UnrealTournament\\", "C:\\UnrealTournament\\system\\"},
        {"C:\\UnrealTournament\\System", "C:\\UnrealTournament\\System\\"},
        {"C:\\UnrealTournament\\SYSTEM\\", "C:\\UnrealTournament\\SYSTEM\\"},
        {"C:\\UnrealTournament\\Systems", "C:\\UnrealTournament\\Systems\\system\\"},
        {"C:\\UT\\System64", "C:\\UT\\System64\\"}, // the native builds' System folders
        {"C:\\UT\\systemARM64\\", "C:\\UT\\systemARM64\\"},
        {"", "\\system\\"},
        {"system", "system\\system\\"}, // shorter than "\system\": compared whole
        {" C:\\UT ", " C:\\UT \\system\\"},
    };
    for (const auto& [typed, expected] : rows) {
        EXPECT_EQ(GamePaths::normaliseTypedPath(typed, '\\'), expected) << typed;
        EXPECT_EQ(GamePaths::normaliseTypedPath(typed), expected) << typed;
    }
}

TEST(GamePaths, candidatesJoinTheInstallFolderExactlyAsItStands) {
    EXPECT_EQ(GamePaths::candidateDirs(""),
              (std::array<std::string, 4>{"\\System\\", "C:\\Unreal Tournament\\System\\",
                                          "C:\\Games\\Unreal Tournament\\System\\",
                                          "C:\\Program files\\Unreal Tournament\\System\\"}));
    EXPECT_EQ(GamePaths::candidateDirs("C:\\UnrealTournament")[0],
              "C:\\UnrealTournament\\System\\");
    EXPECT_EQ(GamePaths::candidateDirs("D:\\UT\\")[0], "D:\\UT\\\\System\\");
}
