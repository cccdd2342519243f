// Settings files in a folder named in any script, or deeper than Windows' 260 characters, are
// saved and loaded like any others.
#include "FileVersions.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(FolderNames, settingsFilesInAFolderOfAnyNameSaveAndLoad) {
    fs::path deep = u8"Игры";
    for (char c = 'a'; c < 'f'; ++c)
        deep /= std::string(60, c);
    for (const fs::path& below : {fs::path(u8"ゲーム"), deep}) {
        TempDir dir;
        const fs::path folder = dir.path() / below / "System";
        fs::create_directories(folder);
        FileVersions::write(folder, 'O', 3);
        FileVersions::saveVersionN(folder, 3, {});
        Startup::LoadIniFiles();
        EXPECT_EQ(Startup::QLAuxArray.front(), "N4-0");
        EXPECT_EQ(FileVersions::namesBeside(folder), std::vector<std::string>{});
        // The library's own removal stops at 260 characters on Windows: the deepest first.
        for (const auto& file : Startup::settingsFiles())
            fs::remove(folder / file.fileName);
        for (fs::path part = below / "System"; !part.empty(); part = part.parent_path())
            fs::remove(dir.path() / part);
    }
}

} // namespace
