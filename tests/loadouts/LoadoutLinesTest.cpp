#include "loadouts/LoadoutLines.h"
#include "FakeForms.h"
#include "TempDir.h"
#include "files/FileError.h"
#include "store/Startup.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using Functions::LoadoutsRefused;

namespace {

const fs::path Examples = QUILLON_EXAMPLES_DIR;
const fs::path Fixtures = fs::path(QUILLON_FIXTURES_DIR) / "loadouts";
const char* const FileNames[] = {"QLLoadouts.ini", "QuillonMod.ini", "QuillonUser.ini",
                                 "QuillonAI.ini", "QLAux.ini"};

std::string readBytes(const fs::path& path) {
    return TempDir::bytesOf(path);
}

using FakeForm = LoadoutsModel;

// A System folder of its own holding the example files, loaded into the arrays.
class LoadoutLinesTest : public ::testing::Test {
public:
    void SetUp() override { Startup::SystemDir = folder.systemDir(); }

    // Puts a fixture case's input files over the example files and loads the folder.
    void loadCase(const std::string& name) {
        for (const auto& entry : fs::directory_iterator(Fixtures / name))
            if (entry.is_regular_file())
                fs::copy_file(entry.path(), dir / entry.path().filename(),
                              fs::copy_options::overwrite_existing);
        Startup::LoadIniFiles();
    }

    // Replaces one line (1-based) of a file in the folder before it is loaded.
    void setLine(const char* fileName, std::size_t lineNumber, const std::string& text) {
        LineArray lines = splitLines(readBytes(dir / fileName));
        lines.set(lineNumber - 1, text);
        folder.write(fileName, joinLines(lines));
    }

    void cutToLines(const char* fileName, std::size_t count) {
        LineArray lines = splitLines(readBytes(dir / fileName));
        lines.resize(count + 1);
        lines.set(count, "");
        folder.write(fileName, joinLines(lines));
    }

    std::array<std::string, 5> filesOnDisk() const {
        std::array<std::string, 5> bytes;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = readBytes(dir / FileNames[i]);
        return bytes;
    }

    // Every file in the folder equals the case's expected file, or else the example file.
    void expectFilesAsIn(const std::string& name) const {
        for (const char* file : FileNames) {
            const fs::path expected = fs::exists(Fixtures / name / "expected" / file)
                                          ? Fixtures / name / "expected" / file
                                          : Examples / file;
            EXPECT_EQ(readBytes(dir / file), readBytes(expected)) << file;
        }
    }

    TempSystemDir folder{Examples};
    const fs::path& dir = folder.path();
    FakeForm form = markedLoadouts();
};

// --- Reading and writing by fixed position ---

TEST_F(LoadoutLinesTest, readThenWriteWithoutEdits_keepsLoadoutLinesAndNormalisesOnlyForceBuy) {
    loadCase("unedited");
    Functions::ReadLoadouts(form);
    Functions::WriteLoadouts(form);
    expectFilesAsIn("unedited");
}

TEST_F(LoadoutLinesTest, read_putsThiefNamesInBoxes1To4AndGuardNames5To8) {
    loadCase("unedited");
    Startup::LoadoutsSaved = false;
    Functions::ReadLoadouts(form);
    const std::array<std::u16string, 8> expected = {
        u"  Shadow Runner ",
        u"",
        u"Gas=Bomber=2",
        u"Caf\u00e9 \u20ac Fingers",
        u"The Longest Loadout Name In The Whole Wide Guild",
        u"Crossbow\tSentry",
        u"Heavy Patrol",
        u"Lantern Bearer"};
    EXPECT_EQ(form.boxes, expected);
    EXPECT_EQ(Functions::LoadoutNames[4], "The Longest Loadout Name In The Whole Wide Guild");
    EXPECT_EQ(form.forceBuy, 1);
    EXPECT_FALSE(form.saveEnabled);
    EXPECT_TRUE(Startup::LoadoutsSaved);
}

TEST_F(LoadoutLinesTest, write_putsBoxesOnLines2To9InOrderAndEmptyBoxAsPrefixAlone) {
    Startup::LoadIniFiles();
    form.boxes = {u"",
                  u"  Rope and Arrows ",
                  u"Gas=Bomber",
                  u"Caf\u00e9 \u20ac",
                  u"N",
                  u"Crossbow Sentry",
                  u"Heavy Patrol",
                  u"A name longer than thirty characters, kept whole"};
    form.forceBuy = 0;
    Startup::LoadoutsSaved = false;
    Functions::WriteLoadouts(form);
    expectFilesAsIn("edited");
    EXPECT_EQ(Startup::QlLoadoutsArray[4], "ThiefLoadout[3]=Caf\xe9 \x80");
    EXPECT_FALSE(form.saveEnabled);
    EXPECT_TRUE(Startup::LoadoutsSaved);
}

// --- The force-buy switch ---

struct SwitchCase {
    const char* value;
    int checked;
};

class ForceBuySwitchTest : public LoadoutLinesTest,
                           public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(ForceBuySwitchTest, readsAsTheGameDoesAndWritesTrueOrFalse) {
    setLine("QuillonMod.ini", 22, std::string("bForceBuying=") + GetParam().value);
    const std::string before = readBytes(dir / "QuillonMod.ini");
    Startup::LoadIniFiles();
    Functions::ReadLoadouts(form);
    EXPECT_EQ(form.forceBuy, GetParam().checked);
    Functions::WriteLoadouts(form);

    LineArray expected = splitLines(before);
    expected.set(21, GetParam().checked ? "bForceBuying=True" : "bForceBuying=False");
    EXPECT_EQ(readBytes(dir / "QuillonMod.ini"), joinLines(expected));
}

INSTANTIATE_TEST_SUITE_P(Values, ForceBuySwitchTest,
                         ::testing::Values(SwitchCase{"True", 1}, SwitchCase{"true", 1},
                                           SwitchCase{"TRUE", 1}, SwitchCase{"tRuE", 1},
                                           SwitchCase{"1", 1}, SwitchCase{"0", 0},
                                           SwitchCase{"False", 0}, SwitchCase{" True", 0},
                                           SwitchCase{"True ", 0}, SwitchCase{"True x", 0},
                                           SwitchCase{"", 0}, SwitchCase{"11", 0}));

TEST_F(LoadoutLinesTest, write_takesCheckBoxStateNotTheFilesValue) {
    Startup::LoadIniFiles(); // the example says True
    form.boxes.fill(u"x");
    form.forceBuy = 0;
    Functions::WriteLoadouts(form);
    EXPECT_EQ(Startup::QuillonModArray[21], "bForceBuying=False");
    form.forceBuy = 1;
    Functions::WriteLoadouts(form);
    EXPECT_EQ(splitLines(readBytes(dir / "QuillonMod.ini"))[21], "bForceBuying=True");
}

// --- Files too short for the fixed positions ---

struct ShapeCase {
    const char* name;
    void (*spoil)(LoadoutLinesTest&);
    const char* fileName;
    const char* lineText; // what the refusal must say about the line
};

class ShapeCheckTest : public LoadoutLinesTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(ShapeCheckTest, readAndWriteAreRefusedNamingFileAndLineWithNothingChanged) {
    GetParam().spoil(*this);
    Startup::LoadIniFiles();
    const LineArray loadouts = Startup::QlLoadoutsArray;
    const LineArray mod = Startup::QuillonModArray;
    const auto disk = filesOnDisk();
    Startup::LoadoutsSaved = false;

    try {
        Functions::ReadLoadouts(form);
        ADD_FAILURE() << "reading was not refused";
    } catch (const LoadoutsRefused& refusal) {
        EXPECT_NE(refusal.problem().find(GetParam().fileName), std::string::npos)
            << refusal.problem();
        EXPECT_NE(refusal.problem().find(GetParam().lineText), std::string::npos)
            << refusal.problem();
        EXPECT_EQ(fs::path(refusal.path()).filename(), GetParam().fileName);
    }
    EXPECT_EQ(form.boxes[0], u"untouched");
    EXPECT_EQ(form.forceBuy, 7);
    EXPECT_TRUE(form.saveEnabled);
    EXPECT_FALSE(Startup::LoadoutsSaved);

    form.boxes.fill(u"New name");
    form.forceBuy = 0;
    EXPECT_THROW(Functions::WriteLoadouts(form), LoadoutsRefused);
    EXPECT_EQ(Startup::QlLoadoutsArray, loadouts);
    EXPECT_EQ(Startup::QuillonModArray, mod);
    EXPECT_EQ(filesOnDisk(), disk);
    EXPECT_TRUE(form.saveEnabled);
    EXPECT_FALSE(Startup::LoadoutsSaved);
}

INSTANTIATE_TEST_SUITE_P(
    Violations, ShapeCheckTest,
    ::testing::Values(
        ShapeCase{"loadoutsFileOf8Lines",
                  [](LoadoutLinesTest& t) { t.cutToLines("QLLoadouts.ini", 8); }, "QLLoadouts.ini",
                  "line 9"},
        ShapeCase{"line2Of15Characters",
                  [](LoadoutLinesTest& t) { t.setLine("QLLoadouts.ini", 2, "ThiefLoadout[0]"); },
                  "QLLoadouts.ini", "line 2"},
        ShapeCase{"line9Of15Characters",
                  [](LoadoutLinesTest& t) { t.setLine("QLLoadouts.ini", 9, "GuardLoadout[3]"); },
                  "QLLoadouts.ini", "line 9"},
        ShapeCase{"modFileOf21Lines",
                  [](LoadoutLinesTest& t) { t.cutToLines("QuillonMod.ini", 21); }, "QuillonMod.ini",
                  "line 22"},
        ShapeCase{"forceBuyLineOf12Characters",
                  [](LoadoutLinesTest& t) { t.setLine("QuillonMod.ini", 22, "bForceBuying"); },
                  "QuillonMod.ini", "line 22"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadoutLinesTest, shapeAtTheLimit_isAccepted) {
    cutToLines("QuillonMod.ini", 22);
    setLine("QuillonMod.ini", 22, "bForceBuying=");
    setLine("QLLoadouts.ini", 3, "ThiefLoadout[1]=");
    cutToLines("QLLoadouts.ini", 9);
    Startup::LoadIniFiles();
    Functions::ReadLoadouts(form);
    EXPECT_EQ(form.boxes[1], u"");
    EXPECT_EQ(form.forceBuy, 0);
}

// --- Text the settings files cannot hold, and failed saves ---

TEST_F(LoadoutLinesTest, nameTheFilesCannotHoldAsOneLine_isRefusedNamingTheBoxAndNothingWritten) {
    const struct {
        std::u16string name;
        const char* told;
    } cases[] = {
        {u"Sentry \u03a9", "\u03a9"},
        {u"Two\r\nLines", "line break"},
        {u"Trailing\n", "line break"},
        {u"\rLeading", "line break"},
    };
    Startup::LoadIniFiles();
    const LineArray loadouts = Startup::QlLoadoutsArray;
    const auto disk = filesOnDisk();
    for (const auto& c : cases) {
        form.boxes.fill(u"Fine");
        form.boxes[5] = c.name;
        Startup::LoadoutsSaved = false;
        try {
            Functions::WriteLoadouts(form);
            ADD_FAILURE() << "the name was not refused: " << c.told;
        } catch (const LoadoutsRefused& refusal) {
            EXPECT_NE(refusal.problem().find("Guard loadout 2"), std::string::npos)
                << refusal.problem();
            EXPECT_NE(refusal.problem().find(c.told), std::string::npos) << refusal.problem();
        }
        EXPECT_EQ(Startup::QlLoadoutsArray, loadouts);
        EXPECT_EQ(filesOnDisk(), disk);
        EXPECT_TRUE(form.saveEnabled);
        EXPECT_FALSE(Startup::LoadoutsSaved);
    }
}

TEST_F(LoadoutLinesTest, failedSave_putsArraysBackAndLeavesWindowUnsaved) {
    Startup::LoadIniFiles();
    const LineArray loadouts = Startup::QlLoadoutsArray;
    const LineArray mod = Startup::QuillonModArray;
    const auto disk = filesOnDisk();
    folder.makeReadOnly("QuillonAI.ini");
    form.boxes.fill(u"Edited");
    form.forceBuy = 0;
    Startup::LoadoutsSaved = false;

    try {
        Functions::WriteLoadouts(form);
        ADD_FAILURE() << "the save did not fail";
    } catch (const FileError& error) {
        EXPECT_EQ(fs::path(error.path()).filename(), "QuillonAI.ini");
    }
    EXPECT_EQ(Startup::QlLoadoutsArray, loadouts);
    EXPECT_EQ(Startup::QuillonModArray, mod);
    EXPECT_EQ(filesOnDisk(), disk);
    EXPECT_TRUE(form.saveEnabled);
    EXPECT_FALSE(Startup::LoadoutsSaved);
}

} // namespace
