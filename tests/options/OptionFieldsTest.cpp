#include "options/OptionFields.h"
#include "FakeForms.h"
#include "KeyLine.h"
#include "TempDir.h"
#include "store/SettingRecords.h"
#include "store/Startup.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace OptionFields;

namespace {

// --- Percent conversions -------------------------------------------------------------------

TEST(PercentConversion, fileFractionShowsAsAPercentageWithoutFloatingPointNoise) {
    const std::pair<const char*, const char*> cases[] = {
        {"0.29", "29"}, {"0.07", "7"}, {"0.5", "50"},   {"0.333", "33.3"},
        {"1", "100"},   {"0", "0"},    {"0.290", "29"}, {"0.1", "10"},
    };
    for (const auto& [file, shown] : cases)
        EXPECT_EQ(percentShown(file), shown) << file;
}

TEST(PercentConversion, typedPercentageIsWrittenAsAFraction) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"29", "0.29"}, {u"35", "0.35"}, {u"100", "1"},      {u"0", "0"},
        {u"7", "0.07"},  {u"50", "0.5"},  {u"33.3", "0.333"}, {u"12.5", "0.125"},
    };
    for (const auto& [typed, file] : cases)
        EXPECT_EQ(percentStored(typed), file);
}

TEST(PercentConversion, textThatIsNotANumberIsShownAsItStandsAndNotConverted) {
    for (const char* text : {"", "abc", "0,29", " 0.29", "0.29 ", "1e999", "nan", "inf", "2x"})
        EXPECT_EQ(percentShown(text), text) << text;
    for (const char16_t* text : {u"", u"abc", u"2,5", u" 5", u"inf", u"nan", u"\u0665"})
        EXPECT_FALSE(percentStored(text).has_value());
}

// --- Loading and saving through the controls --------------------------------------------

using FakeControls = RecordingOptions;

enum Row : std::size_t {
    Name = 0,
    ShowVisibility = 1,
    InvertMouse = 4,
    MouseSensitivity = 5,
    TimeLimit = 9,
    LootDropped = 12,
    PassVote = 13,
};

std::vector<LineArray> allArrays() {
    std::vector<LineArray> arrays;
    for (const auto& file : Startup::settingsFiles())
        arrays.push_back(*file.lines);
    return arrays;
}

class OptionFieldsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Functions::OptionSettings = {};
        Startup::SystemDir = folder.systemDir();
        Startup::LoadIniFiles();
    }

    TempSystemDir folder{QUILLON_EXAMPLES_DIR};
    FakeControls controls;
};

TEST_F(OptionFieldsTest, loadShowsEveryOptionAndTagsRecordsZeroToThirteenEachTime) {
    for (int load = 0; load < 2; ++load) {
        LoadOptionFields(controls);
        for (std::size_t row = 0; row < OptionFieldCount; ++row) {
            EXPECT_EQ(controls.tags[row], std::to_string(row));
            EXPECT_EQ(Functions::OptionSettings[row].Key, optionFieldTable()[row].key);
        }
        EXPECT_FALSE(Functions::OptionSettings[OptionFieldCount].InUse);
    }
    EXPECT_TRUE(controls.messages.empty());
    EXPECT_EQ(controls.texts[Name], u"Player");
    EXPECT_EQ(controls.texts[MouseSensitivity], u"3.00");
    EXPECT_EQ(controls.texts[TimeLimit], u"20");
    EXPECT_EQ(controls.texts[LootDropped], u"29");
    EXPECT_EQ(controls.texts[PassVote], u"50");
    EXPECT_TRUE(controls.checks[ShowVisibility]);
    EXPECT_FALSE(controls.checks[InvertMouse]);
}

TEST_F(OptionFieldsTest, savingUneditedOptionsWritesTheFilesBackByteForByte) {
    LoadOptionFields(controls);
    SaveOptionFields(controls);
    Startup::SaveIniFiles();
    for (const auto& file : Startup::settingsFiles())
        EXPECT_EQ(
            folder.bytes(file.fileName),
            TempSystemDir::bytesOf(std::filesystem::path(QUILLON_EXAMPLES_DIR) / file.fileName))
            << file.fileName;
}

TEST_F(OptionFieldsTest, typedPercentageReachesTheFileAsAFraction) {
    LoadOptionFields(controls);
    controls.texts[PassVote] = u"35";
    SaveOptionFields(controls);
    Startup::SaveIniFiles();
    EXPECT_NE(folder.bytes("QuillonMod.ini").find("\r\nPercentageToPassVote=0.35\r\n"),
              std::string::npos);
}

TEST_F(OptionFieldsTest, switchValuesAsTheGameReadsThemAndWrittenBackAsTrueOrFalse) {
    const std::pair<const char*, bool> cases[] = {
        {"True", true},   {"true", true}, {"TRUE", true},   {"1", true},
        {"False", false}, {"0", false},   {" True", false}, {"", false},
    };
    for (const auto& [value, on] : cases) {
        lineOf(Startup::QuillonUserArray, "bInvertMouse=") = std::string("bInvertMouse=") + value;
        LoadOptionFields(controls);
        EXPECT_EQ(controls.checks[InvertMouse], on) << '"' << value << '"';
        SaveOptionFields(controls);
        EXPECT_EQ(lineOf(Startup::QuillonUserArray, "bInvertMouse="),
                  on ? "bInvertMouse=True" : "bInvertMouse=False");
    }
}

TEST_F(OptionFieldsTest, valueLongerThanItsTypingLimitIsKeptWhole) {
    const std::string name = "Abcdefghijklmnopqrstuvwxy"; // 25 characters
    lineOf(Startup::QuillonUserArray, "Name=") = "Name=" + name;
    LoadOptionFields(controls);
    EXPECT_EQ(controls.texts[Name].size(), 25u);
    SaveOptionFields(controls);
    EXPECT_EQ(lineOf(Startup::QuillonUserArray, "Name="), "Name=" + name);
}

TEST_F(OptionFieldsTest, textIsCarriedAsCodePageBytes) {
    lineOf(Startup::QuillonUserArray, "Name=") = "Name=Ren\xE9  ";
    LoadOptionFields(controls);
    EXPECT_EQ(controls.texts[Name], u"Ren\u00E9  ");
    controls.texts[Name] = u"\u20AC uro"; // the euro sign is byte 0x80 in the code page
    SaveOptionFields(controls);
    EXPECT_EQ(lineOf(Startup::QuillonUserArray, "Name="), "Name=\x80 uro");
}

TEST_F(OptionFieldsTest, percentValueThatIsNotANumberGoesBackUnchangedUnlessEdited) {
    lineOf(Startup::QuillonModArray, "PercentageLootDropped=") = "PercentageLootDropped=abc";
    LoadOptionFields(controls);
    EXPECT_EQ(controls.texts[LootDropped], u"abc");
    SaveOptionFields(controls);
    EXPECT_EQ(lineOf(Startup::QuillonModArray, "PercentageLootDropped="),
              "PercentageLootDropped=abc");
}

TEST_F(OptionFieldsTest, refusedSaveChangesNothing) {
    LoadOptionFields(controls);
    const auto arrays = allArrays();
    const auto records = Functions::OptionSettings;
    const struct {
        Row row;
        std::u16string text;
        OptionValueRefused::Reason reason;
        std::size_t badIndex; // for the reasons that name a character
    } cases[] = {
        {LootDropped, u"2,5", OptionValueRefused::Reason::NotANumber, 0},
        {MouseSensitivity, u"3\u4E00", OptionValueRefused::Reason::NotInCodePage, 1},
        {Name, u"Two\r\nLines", OptionValueRefused::Reason::LineBreak, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        FakeControls edited = controls; // with other edits that must not be stored either
        edited.texts[Name] = u"Edited";
        edited.checks[InvertMouse] = true;
        edited.texts[c.row] = c.text;
        try {
            SaveOptionFields(edited);
            ADD_FAILURE() << "the value was saved";
        } catch (const OptionValueRefused& refused) {
            EXPECT_EQ(refused.row(), c.row);
            EXPECT_EQ(refused.reason(), c.reason);
            EXPECT_EQ(refused.field().caption, optionFieldTable()[c.row].caption);
            if (c.reason != OptionValueRefused::Reason::NotANumber) {
                EXPECT_EQ(refused.badIndex(), c.badIndex);
            }
        }
        EXPECT_EQ(allArrays(), arrays);
        for (std::size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(Functions::OptionSettings[i].Value, records[i].Value) << i;
    }
}

TEST_F(OptionFieldsTest, missingKeyIsToldShowsItsLastValueAndIsWrittenNowhere) {
    LoadOptionFields(controls);
    ASSERT_EQ(controls.texts[TimeLimit], u"20");
    lineOf(Startup::QuillonModArray, "TimeLimit=") = "TimeLimitX=20";
    lineOf(Startup::QuillonModArray, "PercentageToPassVote=") = "PercentageToPassVoteX=0.5";

    LoadOptionFields(controls);
    EXPECT_EQ(controls.messages,
              std::vector<std::string>(2, std::string(Functions::KeyNotFoundMessage)));
    EXPECT_EQ(controls.texts[TimeLimit], u"20");

    // A box of a missing key is never refused: it is written nowhere.
    controls.texts[TimeLimit] = u"45";
    controls.texts[PassVote] = u"not a number";
    controls.texts[Name] = u"Saved";
    const auto before = allArrays();
    SaveOptionFields(controls);
    auto expected = before;
    lineOf(expected[2], "Name=") = "Name=Saved";
    EXPECT_EQ(allArrays(), expected);
}

TEST_F(OptionFieldsTest, missingKeyOnTheFirstLoadShowsAnEmptyBox) {
    lineOf(Startup::QuillonUserArray, "Name=") = "Nickname=Player";
    LoadOptionFields(controls);
    EXPECT_EQ(controls.messages.size(), 1u);
    EXPECT_EQ(controls.texts[Name], u"");
}

} // namespace
