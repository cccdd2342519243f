// What a Windows program's bytes say of how Windows starts it, read on any system: the stand-ins
// of the game's UnrealTournament.exe that MinGW-w64 makes, and every cut of one.
#include "install/PeImage.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(PeImage, tellsWhetherWindowsVirtualisesTheGameAndRefusesACutFile) {
    if (!*QUILLON_PROGRAM_STAND_INS)
        GTEST_SKIP() << "no stand-ins of UnrealTournament.exe: MinGW-w64 is not there";
    const std::filesystem::path folder = QUILLON_PROGRAM_STAND_INS;
    const struct {
        const char* program;
        bool virtualised;
    } programs[] = {
        {"NoManifest.exe", true}, {"AsInvoker.exe", false}, {"LevelInComment.exe", true}};
    for (const auto& program : programs) {
        const auto facts = PeImage::read(TempDir::bytesOf(folder / program.program));
        EXPECT_TRUE(facts.bits32) << program.program;
        EXPECT_EQ(PeImage::virtualised(facts), program.virtualised) << program.program;
    }
    const std::string whole = TempDir::bytesOf(folder / "AsInvoker.exe");
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_THROW(PeImage::read(std::string_view(whole).substr(0, size)), PeImage::NotAnImage)
            << size;
}
