#include "FileIo.h"
#include "FileError.h"
#include "TempDir.h"

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
    const FileImage images[] = {{dir.dir() + "a.ini", "new a\r\n"},
                                {dir.dir() + "b.ini", "new b\r\n"},
                                {dir.dir() + "c.ini", "new c\r\n"}, // did not exist before
                                {dir.dir() + "d.ini", "new d\r\n"}};
    int moves = 0;
    try {
        replaceFiles(images, [&moves](const std::string& temporary, const std::string& target) {
            if (++moves == 4)
                return false; // as if d.ini were held open by another program
            return moveIntoPlace(temporary, target);
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
