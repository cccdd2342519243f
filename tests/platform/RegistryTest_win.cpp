#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <windows.h>

using Registry::HKeyCurrentUser;
using Registry::ReadRegistryString;

namespace {

// A scratch key below HKEY_CURRENT_USER for each test, deleted afterwards.
class ScratchKey : public testing::Test {
protected:
    void SetUp() override {
        path = std::string("Software\\QuillonToolTest\\") +
               testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuillonToolTest");
    }
    void set(const char* name, DWORD type, const std::string& bytes) const {
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    std::string read(const char* name) const {
        return ReadRegistryString(HKeyCurrentUser, path, name);
    }

    std::string path;
    HKEY key = nullptr;
};

const std::string Path = "C:\\UnrealTournament";

} // namespace

TEST_F(ScratchKey, TextWithTerminatorIsReturnedExactly) {
    set("Folder", REG_SZ, Path + '\0');
    EXPECT_EQ(read("Folder"), Path);
}

TEST_F(ScratchKey, TextWithoutTerminatorGivesAllItsCharacters) {
    set("Folder", REG_SZ, Path);
    EXPECT_EQ(read("Folder"), Path);
}

TEST_F(ScratchKey, TextEndsAtAnEmbeddedNul) {
    set("Folder", REG_SZ, std::string("A\0B\0", 4));
    EXPECT_EQ(read("Folder"), "A");
}

TEST_F(ScratchKey, EmptyAndZeroByteTextGiveEmptyText) {
    set("Empty", REG_SZ, std::string(1, '\0'));
    set("NoBytes", REG_SZ, "");
    EXPECT_EQ(read("Empty"), "");
    EXPECT_EQ(read("NoBytes"), "");
}

TEST_F(ScratchKey, ValuesOfOtherTypesAreAbsentEvenWhenHoldingAPath) {
    set("Expand", REG_EXPAND_SZ, Path + '\0');
    set("Binary", REG_BINARY, Path + '\0');
    const DWORD number = 0x5C3A43; // "C:\" read as bytes
    set("Dword", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
    EXPECT_EQ(read("Expand"), "");
    EXPECT_EQ(read("Binary"), "");
    EXPECT_EQ(read("Dword"), "");
}

TEST_F(ScratchKey, MissingKeyOrValueGivesEmptyText) {
    set("Folder", REG_SZ, Path + '\0');
    EXPECT_EQ(read("Path"), "");
    EXPECT_EQ(ReadRegistryString(HKeyCurrentUser, path + "\\Missing", "Folder"), "");
    EXPECT_EQ(ReadRegistryString(Registry::HKeyLocalMachine, "SOFTWARE\\QuillonToolTest\\Missing",
                                 "Folder"),
              "");
}

TEST_F(ScratchKey, KeyAndValueNamesIgnoreLetterCase) {
    set("Folder", REG_SZ, Path + '\0');
    EXPECT_EQ(ReadRegistryString(HKeyCurrentUser, "SOFTWARE\\QUILLONTOOLTEST\\" + path.substr(25),
                                 "FOLDER"),
              Path);
}

TEST_F(ScratchKey, DefaultValueIsNamedByTheEmptyName) {
    set("", REG_SZ, Path + '\0');
    EXPECT_EQ(read(""), Path);
}

TEST(RegistryView, KeyOfA32BitInstallerIsFound) {
    // The game's installer is a 32-bit program: its keys below HKLM\Software live in the 32-bit
    // view, which a 64-bit build sees only when it asks for it.
    const char* path = "Software\\QuillonToolTest32";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string folder = Path + '\0';
    RegSetValueExA(key, "Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.data()),
                   static_cast<DWORD>(folder.size()));
    RegCloseKey(key);
    EXPECT_EQ(
        ReadRegistryString(Registry::HKeyLocalMachine, "SOFTWARE\\QuillonToolTest32", "Folder"),
        Path);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY, 0);
}
