#include "store/SettingRecords.h"
#include "TempDir.h"
#include "store/Startup.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace Functions;

namespace {

const std::filesystem::path Fixtures = QUILLON_FIXTURES_DIR "/setting-records";

std::vector<LineArray> allArrays() {
    std::vector<LineArray> arrays;
    for (const auto& file : Startup::settingsFiles())
        arrays.push_back(*file.lines);
    return arrays;
}

class SettingRecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        OptionSettings = {};
        CurrentSetting = 0;
        SettingIndexText.clear();
        Startup::SystemDir = folder.systemDir();
        Startup::LoadIniFiles();
    }

    // Allocates a record for the key and looks it up; returns the record's index.
    int lookUp(const std::string& key) {
        AllocateSetting();
        OptionSettings[static_cast<std::size_t>(CurrentSetting)].Key = key;
        LookUpSetting(showMessage);
        return CurrentSetting;
    }

    // Looks the key up and checks where it was found and what value it holds there.
    void expectFoundAt(const std::string& key, const char* array, int line, const char* value) {
        const auto& record = OptionSettings[static_cast<std::size_t>(lookUp(key))];
        EXPECT_EQ(record.ArrayName, array);
        EXPECT_EQ(record.LineIndex, line);
        EXPECT_EQ(record.Value, value);
    }

    void store(int index, const std::string& value) {
        OptionSettings[static_cast<std::size_t>(index)].Value = value;
        SettingIndexText = std::to_string(index);
        StoreSetting();
    }

    TempSystemDir folder{Fixtures / "System"};
    std::vector<std::string> messages;
    ShowMessage showMessage = [this](std::string_view message) { messages.emplace_back(message); };
};

// --- Finding a key -----------------------------------------------------------------------

TEST_F(SettingRecordsTest, keyInOtherLetterCaseIsFoundAtItsFirstPlaceInTheEarliestFile) {
    const auto& record = OptionSettings[static_cast<std::size_t>(lookUp("TimeLimit="))];
    // The indented line of QLLoadouts.ini does not count; QuillonMod.ini's "timelimit=" does.
    EXPECT_EQ(record.ArrayName, "QuillonModArray");
    EXPECT_EQ(record.LineIndex, 1);
    EXPECT_EQ(record.KeyLength, 10);
    EXPECT_EQ(record.LineLength, 12);
    EXPECT_EQ(record.Value, "20");
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingRecordsTest, keyDoesNotMatchALongerKeyNameOrAnIndentedLine) {
    // "NameX=" in QuillonMod.ini and " Name=" in QLLoadouts.ini come earlier but do not match.
    expectFoundAt("Name=", "QuillonUserArray", 1, "Player");
}

TEST_F(SettingRecordsTest, valueWithSpacesAndEqualsSignsOrEmptyComesOutUnchanged) {
    EXPECT_EQ(OptionSettings[static_cast<std::size_t>(lookUp("motd="))].Value,
              "Hello = world,  two spaces ");
    EXPECT_EQ(OptionSettings[static_cast<std::size_t>(lookUp("Empty="))].Value, "");
}

TEST_F(SettingRecordsTest, emptyKeyMatchesTheFirstLineOfTheLoadoutsFile) {
    expectFoundAt("", "QlLoadoutsArray", 0, "[QuillonMod.QLLoadouts]");
}

TEST_F(SettingRecordsTest, missingKeyIsToldOnceAndLeavesTheRecordWithoutAnArray) {
    const int index = lookUp("Name=");
    auto& record = OptionSettings[static_cast<std::size_t>(index)];
    record.Key = "Nowhere=";
    CurrentSetting = static_cast<std::int16_t>(index);
    LookUpSetting(showMessage);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Goats have eaten your hard-drive, please report this error");
    EXPECT_EQ(record.ArrayName, "");
    EXPECT_EQ(record.KeyLength, 8);
    // What the earlier lookup found stays.
    EXPECT_EQ(record.Value, "Player");
    EXPECT_EQ(record.LineIndex, 1);
}

// --- Storing a value ---------------------------------------------------------------------

TEST_F(SettingRecordsTest, storedValuesReachTheDiskInTheFileOwnSpellingAndNowhereElse) {
    store(lookUp("TIMELIMIT="), "30");
    store(lookUp("Name="), "Thief");
    const int motd = lookUp("Motd=");
    store(motd, OptionSettings[static_cast<std::size_t>(motd)].Value);
    store(lookUp("Empty="), "");
    Startup::SaveIniFiles();

    for (const auto& file : Startup::settingsFiles())
        EXPECT_EQ(folder.bytes(file.fileName),
                  TempSystemDir::bytesOf(Fixtures / "expected" / file.fileName))
            << file.fileName;
}

TEST_F(SettingRecordsTest, storeChangesOnlyTheRecordedLine) {
    const int index = lookUp("AllowDownloads=");
    auto expected = allArrays();
    expected[4].set(1, "AllowDownloads=False");
    store(index, "False");
    EXPECT_EQ(allArrays(), expected);
}

TEST_F(SettingRecordsTest, arraySelectorIsComparedIgnoringLetterCase) {
    const int index = lookUp("Team=");
    OptionSettings[static_cast<std::size_t>(index)].ArrayName = "quillonuserARRAY";
    store(index, "0");
    EXPECT_EQ(Startup::QuillonUserArray[2], "Team=0");
}

TEST_F(SettingRecordsTest, recordWhoseLatestLookupFailedIsWrittenNowhere) {
    const int index = lookUp("Name=");
    const auto before = allArrays();
    auto& record = OptionSettings[static_cast<std::size_t>(index)];
    record.Key = "Nowhere=";
    CurrentSetting = static_cast<std::int16_t>(index);
    LookUpSetting(showMessage);

    store(index, "Changed");
    EXPECT_EQ(allArrays(), before);
}

// --- The record table --------------------------------------------------------------------

TEST_F(SettingRecordsTest, allocationHandsOutRecordsInOrderAndNoneBeyondTheTable) {
    for (int i = 0; i < SettingCount; ++i) {
        AllocateSetting();
        EXPECT_EQ(CurrentSetting, i);
    }
    AllocateSetting();
    EXPECT_EQ(CurrentSetting, SettingCount);

    // Freed records are handed out again from the lowest.
    OptionSettings[7].InUse = false;
    OptionSettings[3].InUse = false;
    AllocateSetting();
    EXPECT_EQ(CurrentSetting, 3);
}

TEST_F(SettingRecordsTest, lookUpRefusesAnIndexOutsideTheTable) {
    for (const int index : {SettingCount, -1}) {
        CurrentSetting = static_cast<std::int16_t>(index);
        EXPECT_THROW(LookUpSetting(showMessage), std::out_of_range);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingRecordsTest, storeRefusesTextThatNamesNoRecord) {
    const int index = lookUp("Name=");
    OptionSettings[static_cast<std::size_t>(index)].Value = "Changed";
    const auto before = allArrays();
    for (const char* text : {"51", "99999999999"}) {
        SettingIndexText = text;
        EXPECT_THROW(StoreSetting(), std::out_of_range) << text;
    }
    for (const char* text : {"", "abc", " 0", "0 ", "1e1", "+0", "-1", "-0"}) {
        SettingIndexText = text;
        EXPECT_THROW(StoreSetting(), std::invalid_argument) << '"' << text << '"';
    }
    // A value with a line break would split its line in two.
    SettingIndexText = std::to_string(index);
    for (const char* value : {"a\r\nb", "a\n", "\rb"}) {
        OptionSettings[static_cast<std::size_t>(index)].Value = value;
        EXPECT_THROW(StoreSetting(), std::invalid_argument) << value;
    }
    EXPECT_EQ(allArrays(), before);
}

TEST_F(SettingRecordsTest, storeRefusesALineThatIsNoLongerInItsArray) {
    const int index = lookUp("Name=");
    Startup::QuillonUserArray.resize(1);
    SettingIndexText = std::to_string(index);
    EXPECT_THROW(StoreSetting(), std::out_of_range);
}

} // namespace
