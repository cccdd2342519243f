// What a Windows program's bytes say of how Windows starts it, read on any system: the stand-ins
// of the game's UnrealTournament.exe that MinGW-w64 makes, and every cut of one; and manifests of
// our own making, with the execution level in and out of comments.
#include "install/PeImage.h"
#include "PeImageBuilder.h"
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

TEST(PeImage, findsTheExecutionLevelOnlyOutsideComments) {
    using namespace std::string_literals;
    const std::string Level = "<requestedExecutionLevel level=\"asInvoker\"/>";
    const struct {
        std::string manifest;
        bool asks;
    } manifests[] = {
        {"<assembly>" + Level + "</assembly>", true},
        {"<!-- " + Level + " -->", false},
        {"<!-- a --><!-- b -->" + Level, true},
        {"<!-- " + Level + " --><!-- -->" + Level, true},
        {"<!-- --> <!-- " + Level, false}, // a comment never closed holds the rest
        {"<ms:requestedExecutionLevel level=\"asInvoker\"/>", true},
        {"<requestedExecutionLevels/>", false},
        {"\xFF\xFE<\0r\0e\0q\0u\0e\0s\0t\0e\0d\0E\0x\0e\0c\0u\0t\0i\0o\0n\0L\0e\0v\0e\0l\0/\0>\0"s,
         true},
    };
    for (const auto& [manifest, asks] : manifests)
        EXPECT_EQ(PeImage::read(peImageWithManifest(manifest)).asksExecutionLevel, asks)
            << manifest;
}
