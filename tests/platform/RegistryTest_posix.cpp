#include "EnvFolder.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace fs = std::filesystem;
using Registry::HKeyCurrentUser;
using Registry::HKeyLocalMachine;
using Registry::ReadRegistryString;

namespace {

const std::string InstallKey = "SOFTWARE\\Unreal Technology\\Installed Apps\\UnrealTournament";

// The start of a registry file as Wine writes it.
const std::string Head = "WINE REGISTRY Version 2\n"
                         ";; All keys relative to \\\\Machine\n"
                         "\n"
                         "#arch=win64\n"
                         "\n";

// The install key as Wine writes it, with the lines that follow a key header.
std::string installKeyWith(const std::string& valueLines) {
    return Head +
           "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament] 1700000000\n"
           "#time=1da1b2c3d4e5f60\n" +
           valueLines + "\n";
}

// A Wine prefix of its own for each test, named by WINEPREFIX while the test runs.
class WinePrefixRegistry : public testing::Test {
protected:
    void writeSystemReg(const std::string& text) const { write("system.reg", text); }
    void write(const std::string& file, const std::string& text) const {
        std::ofstream(prefix / file, std::ios::binary) << text;
    }
    std::string folder() const {
        return ReadRegistryString(HKeyLocalMachine, InstallKey, "Folder");
    }

    EnvFolder scratch{"WINEPREFIX"};
    const fs::path& prefix = scratch.path();
};

} // namespace

// --- finding the value ---

TEST_F(WinePrefixRegistry, TextValueIsReturnedExactlyWithoutTerminator) {
    writeSystemReg(installKeyWith("\"Folder\"=\"C:\\\\UnrealTournament\""));
    EXPECT_EQ(folder(), "C:\\UnrealTournament");
}

TEST_F(WinePrefixRegistry, KeyAndValueNamesIgnoreLetterCase) {
    writeSystemReg(Head + "[software\\\\UNREAL technology\\\\Installed Apps\\\\unrealtournament]\n"
                          "\"FOLDER\"=\"C:\\\\UT\"\n");
    EXPECT_EQ(folder(), "C:\\UT");
}

TEST_F(WinePrefixRegistry, ValueIsTakenOnlyFromTheNamedKey) {
    writeSystemReg(Head +
                   "[Software\\\\Unreal Technology\\\\Installed Apps]\n"
                   "\"Folder\"=\"C:\\\\Parent\"\n"
                   "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament]\n"
                   "\"Path\"=\"C:\\\\Other\"\n"
                   "\"Folder\"=\"C:\\\\Mine\"\n"
                   "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament\\\\Sub]\n"
                   "\"Folder\"=\"C:\\\\Child\"\n");
    EXPECT_EQ(folder(), "C:\\Mine");
    EXPECT_EQ(ReadRegistryString(HKeyLocalMachine, InstallKey, "Path"), "C:\\Other");
}

TEST_F(WinePrefixRegistry, MissingKeyOrValueGivesEmptyText) {
    writeSystemReg(Head + "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament]\n"
                          "\"Version\"=\"436\"\n"
                          "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament2]\n"
                          "\"Folder\"=\"C:\\\\UT2\"\n");
    EXPECT_EQ(folder(), "");
    EXPECT_EQ(ReadRegistryString(HKeyLocalMachine, "SOFTWARE\\Nobody", "Folder"), "");
}

TEST_F(WinePrefixRegistry, ThirtyTwoBitViewOfA64BitPrefixIsAskedFirst) {
    // Where a 32-bit installer's keys go in a 64-bit prefix, as the game itself would read them.
    const std::string wow = "[Software\\\\Wow6432Node\\\\Unreal Technology\\\\Installed Apps\\\\"
                            "UnrealTournament] 1700000000\n";
    writeSystemReg(Head + wow + "\"Folder\"=\"C:\\\\UT32\"\n");
    EXPECT_EQ(folder(), "C:\\UT32");
    writeSystemReg(installKeyWith("\"Folder\"=\"C:\\\\UT64\"") + wow +
                   "\"Folder\"=\"C:\\\\UT32\"\n");
    EXPECT_EQ(folder(), "C:\\UT32");
}

TEST_F(WinePrefixRegistry, DefaultValueIsNamedByTheEmptyName) {
    writeSystemReg(installKeyWith("@=\"C:\\\\Default\"\n\"Folder\"=\"C:\\\\UT\""));
    EXPECT_EQ(ReadRegistryString(HKeyLocalMachine, InstallKey, ""), "C:\\Default");
    EXPECT_EQ(folder(), "C:\\UT");
}

TEST_F(WinePrefixRegistry, CurrentUserValuesComeFromUserReg) {
    write("user.reg", Head + "[Software\\\\Quillon]\n\"Folder\"=\"C:\\\\Mine\"\n");
    EXPECT_EQ(ReadRegistryString(HKeyCurrentUser, "Software\\Quillon", "Folder"), "C:\\Mine");
    EXPECT_EQ(ReadRegistryString(HKeyLocalMachine, "Software\\Quillon", "Folder"), "");
    EXPECT_EQ(ReadRegistryString(Registry::HKeyUsers, "Software\\Quillon", "Folder"), "");
}

// --- the text of a value ---

TEST_F(WinePrefixRegistry, ValueTextIsDecodedToUtf8) {
    // Wine writes characters above 127 as \x escapes of their UTF-16 units (a pair for one
    // beyond U+FFFF); a file edited by hand may hold UTF-8.
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\\\My \\\"Games\\\"\\\\\\x55T \\tx\\x", "C:\\My \"Games\"\\UT \txx"},
        {"A\\0B", "A"},
        {"", ""},
        {"C:\\\\Caf\\xe9 \\x20ac Spi\xC3\xA9le", "C:\\Caf\xC3\xA9 \xE2\x82\xAC Spi\xC3\xA9le"},
        {"C:\\\\\\x418\\x433\\x440\\x44b", "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B"},
        {"D:\\\\\\x6e38\\x620f \\xd83c\\xdfae", "D:\\\xE6\xB8\xB8\xE6\x88\x8F \xF0\x9F\x8E\xAE"},
        {"C:\\\\\\x4e2d\xF0\x9F\x8E\xAE", "C:\\\xE4\xB8\xAD\xF0\x9F\x8E\xAE"},
        {"C:\\\\\\xd800X", "C:\\\xEF\xBF\xBDX"}, // a lone surrogate
    };
    for (const auto& [stored, expected] : rows) {
        writeSystemReg(installKeyWith("\"Folder\"=\"" + stored + "\""));
        EXPECT_EQ(folder(), expected) << stored;
    }
}

// --- value types ---

TEST_F(WinePrefixRegistry, TextWrittenInHexIsText) {
    // Wine writes a REG_SZ without terminator, or with no bytes at all, in hex.
    writeSystemReg(installKeyWith("\"Folder\"=hex(1):43,00,3a,00,5c,00,\\\n  55,00,54,00\n"
                                  "\"Empty\"=hex(1):\n"
                                  "\"Odd\"=hex(1):41,00,42"));
    EXPECT_EQ(folder(), "C:\\UT");
    EXPECT_EQ(ReadRegistryString(HKeyLocalMachine, InstallKey, "Empty"), "");
    EXPECT_EQ(ReadRegistryString(HKeyLocalMachine, InstallKey, "Odd"), "A");
}

TEST_F(WinePrefixRegistry, ValuesOfOtherTypesAreAbsentEvenWhenHoldingAPath) {
    writeSystemReg(installKeyWith("\"Expand\"=str(2):\"C:\\\\UT\"\n"
                                  "\"Multi\"=str(7):\"C:\\\\UT\"\n"
                                  "\"Dword\"=dword:00000001\n"
                                  "\"Binary\"=hex:43,3a,5c,55,54,00\n"
                                  "\"HexExpand\"=hex(2):43,00,3a,00,00,00"));
    for (const char* name : {"Expand", "Multi", "Dword", "Binary", "HexExpand"})
        EXPECT_EQ(ReadRegistryString(HKeyLocalMachine, InstallKey, name), "") << name;
}

// --- files that are missing or not what they should be ---

TEST_F(WinePrefixRegistry, MissingPrefixOrFileGivesEmptyText) {
    EXPECT_EQ(folder(), "");
    ::setenv("WINEPREFIX", (prefix / "nowhere").c_str(), 1);
    EXPECT_EQ(folder(), "");
}

TEST_F(WinePrefixRegistry, FileNotInWinesFormatGivesEmptyText) {
    std::string text = installKeyWith("\"Folder\"=\"C:\\\\UT\"");
    writeSystemReg("REGEDIT4\n" + text.substr(text.find('\n') + 1));
    EXPECT_EQ(folder(), "");
    const char binary[] = "\x7F"
                          "ELF\0\0\x01\x02[Software]\n";
    writeSystemReg(std::string(binary, sizeof binary - 1));
    EXPECT_EQ(folder(), "");
    fs::remove(prefix / "system.reg");
    fs::create_directory(prefix / "system.reg");
    EXPECT_EQ(folder(), "");
}

TEST_F(WinePrefixRegistry, TruncatedOrMalformedValueGivesEmptyText) {
    const std::string cases[] = {
        "\"Folder\"=\"C:\\\\UT",            // cut off before the closing quote
        "\"Folder\"=\"C:\\\\UT\" trailing", // something after the closing quote
        "\"Folder\"=\"C:\\\\U\xC3(T\"",     // not UTF-8
        "\"Folder\"=hex(1):43,00,3",        // cut off inside a byte
        "\"Folder\"=hex(1):43,00,zz,00",    // not hex
        "\"Folder\"=",                      // no data at all
    };
    for (const auto& line : cases) {
        writeSystemReg(installKeyWith(line));
        EXPECT_EQ(folder(), "") << line;
    }
    const std::string whole = installKeyWith("\"Folder\"=\"C:\\\\UT\"");
    writeSystemReg(whole.substr(0, whole.find("UnrealTournament]") + 5));
    EXPECT_EQ(folder(), "");
}

TEST_F(WinePrefixRegistry, MalformedLinesElsewhereDoNotHideTheValue) {
    writeSystemReg(Head +
                   "[Software\\\\Broken\n"
                   "\"Name\"=\"no end\n"
                   "garbage line\n"
                   "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament]\r\n"
                   "\"Broken\"=\"no end\r\n"
                   "\"Folder\"=\"C:\\\\UT\"\r\n");
    EXPECT_EQ(folder(), "C:\\UT");
}
