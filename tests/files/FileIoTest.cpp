#include "files/FileIo.h"
#include "TempDir.h"
#include "files/FileError.h"
#include "files/FolderLock.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A failure while the new files go into place, after some already have.
TEST(ReplaceFiles, failurePartWayPutsBackTheFilesAlreadyReplaced) {
    TempDir dir;
    dir.write("a.ini", "old a\r\n");
    dir.write("b.ini", "old b\r\n");
    dir.write("d.ini", "old d\r\n");
    // d.ini is the last to go into place; c.ini did not exist before.
    const std::vector<std::string> paths = {dir.dir() + "a.ini", dir.dir() + "b.ini",
                                            dir.dir() + "c.ini", dir.dir() + "d.ini"};
    const std::string_view contents[] = {"new a\r\n", "new b\r\n", "new c\r\n", "new d\r\n"};
    const auto newBytes = [&contents](std::size_t i) { return ByteBlock(contents[i]); };
    int renames = 0;
    try {
        const FolderLock lock(paths, FolderLock::Mode::Exclusive);
        replaceFiles(lock, paths, newBytes, [&renames](SaveStep step, const std::string&) {
            // The fourth rename fails, as if d.ini were held open by another program.
            return step != SaveStep::Rename || ++renames != 4;
        });
        ADD_FAILURE() << "the save should fail";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir.dir() + "d.ini");
        EXPECT_EQ(e.reason().find("put back"), std::string::npos) << e.reason();
    }
    EXPECT_EQ(dir.read("a.ini"), "old a\r\n");
    EXPECT_EQ(dir.read("b.ini"), "old b\r\n");
    EXPECT_EQ(dir.read("d.ini"), "old d\r\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.ini", "b.ini", "d.ini"}));
}

} // namespace
