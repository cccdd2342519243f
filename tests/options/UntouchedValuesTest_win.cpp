// Run with a double-byte ANSI code page (Japanese, 932), where a byte such as E9 at the end of a
// text does not decode and shows as a stand-in character: a name or option that nobody edits
// must still go back to its file as its own bytes.
#include "FakeForms.h"
#include "TempDir.h"
#include "store/SettingRecords.h"
#include "store/Startup.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct Boxes : LoadoutsModel, OptionsModel {};

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
    ASSERT_NE(boxes.boxes[0], u"Caf\u00E9"); // the byte does not decode in this code page
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
