// Run with a double-byte ANSI code page (Japanese, 932), where a byte such as E9 at the end of a
// text does not decode and shows as a stand-in character: a name or option that nobody edits
// must still go back to its file as its own bytes.
#include "LoadoutLines.h"
#include "OptionFields.h"
#include "SettingRecords.h"
#include "Startup.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct Boxes : Functions::LoadoutsForm, OptionFields::OptionControls {
    std::array<std::u16string, Functions::LoadoutCount> names;
    std::array<std::u16string, OptionFields::OptionFieldCount> texts;
    std::array<bool, OptionFields::OptionFieldCount> checks{};
    std::array<std::string, OptionFields::OptionFieldCount> tags;
    int forceBuy = 0;

    std::u16string loadoutText(std::size_t box) const override { return names[box]; }
    void setLoadoutText(std::size_t box, const std::u16string& t) override { names[box] = t; }
    int forceBuyValue() const override { return forceBuy; }
    void setForceBuyValue(int value) override { forceBuy = value; }
    void disableSave() override {}
    std::u16string text(std::size_t row) const override { return texts[row]; }
    void setText(std::size_t row, const std::u16string& t) override { texts[row] = t; }
    bool isChecked(std::size_t row) const override { return checks[row]; }
    void setChecked(std::size_t row, bool c) override { checks[row] = c; }
    std::string tag(std::size_t row) const override { return tags[row]; }
    void setTag(std::size_t row, const std::string& t) override { tags[row] = t; }
    void showMessage(std::string_view) override {}
};

TEST(UntouchedValues, undecodableBytesSurviveSavesOfOtherEdits) {
    ASSERT_EQ(GetACP(), 932u) << "run this test with LANG=ja_JP.UTF-8";
    TempSystemDir folder(QUILLON_EXAMPLES_DIR);
    Startup::SystemDir = folder.systemDir();
    Startup::LoadIniFiles();
    Startup::QlLoadoutsArray.set(1, "ThiefLoadout[0]=Caf\xE9");
    Startup::QuillonUserArray.set(1, "Name=Ren\xE9");
    Startup::SaveIniFiles();
    Startup::LoadIniFiles();

    Boxes boxes;
    Functions::ReadLoadouts(boxes);
    ASSERT_NE(boxes.names[0], u"Caf\u00E9"); // the byte does not decode in this code page
    boxes.forceBuy = 1 - boxes.forceBuy;     // the one edit
    Functions::WriteLoadouts(boxes);

    Functions::OptionSettings = {};
    OptionFields::LoadOptionFields(boxes);
    boxes.checks[4] = !boxes.checks[4]; // Invert Mouse?, the one edit
    OptionFields::SaveOptionFieldsAndFiles(boxes);

    Startup::LoadIniFiles();
    EXPECT_EQ(Startup::QlLoadoutsArray[1], "ThiefLoadout[0]=Caf\xE9");
    EXPECT_EQ(Startup::QuillonUserArray[1], "Name=Ren\xE9");
}

} // namespace
