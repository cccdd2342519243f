// Each encoding a settings file may be in, with each kind of edit, through both programs: the core
// path the windows take (the two editors' models) and quillon-settings as a process. The text is
// Latin where the code page holds it (1252), else Japanese (932). Every byte of the five files
// afterwards is checked, and the values as the programs show them.
#include "FakeForms.h"
#include "RunProgram.h"
#include "TempDir.h"
#include "loadouts/LoadoutLines.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"
#include "store/SettingRecords.h"
#include "store/Startup.h"

#include <cstdlib>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

struct Script {
    std::u16string oldName, newName, oldLoadout, newLoadout, keyLetter;
};
const Script& script() {
    static const Script latin{u"J\u00F6rg", u"Zo\u00EB", u"Caf\u00E9 au lait", u"Cr\u00E8me",
                              u"\u00FC"};
    static const Script japanese{u"\u30E8\u30EB\u30B0", u"\u30BE\u30FC\u30A4",
                                 u"\u30AB\u30D5\u30A7", u"\u30AF\u30EA\u30FC\u30E0", u"\u30FC"};
    return CodePage::encode(latin.oldName + latin.newName) ? latin : japanese;
}

std::string inCodePage(const std::u16string& text) {
    return CodePage::encode(text).value();
}
std::string inUtf8(const std::u16string& text) {
    return utf8FromUtf16(text);
}
std::string inUtf8Marked(const std::u16string& text) {
    return "\xEF\xBB\xBF" + utf8FromUtf16(text);
}
std::string inUtf16(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text)
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

struct Encoding {
    const char* name;
    std::string (*bytesOf)(const std::u16string& text); // how the files are written, and read back
    bool ascii = false;                                 // the files hold only ASCII before the edit
    bool patch469 = false; // the System folder holds what tells the community patch
};
const Encoding Encodings[] = {
    {"codePage", inCodePage},          {"utf8", inUtf8},
    {"utf8WithMark", inUtf8Marked},    {"utf16le", inUtf16},
    {"asciiOf1999", inCodePage, true}, {"asciiOf469", inUtf8, true, true}};

struct Edit {
    const char* name;
    const char* file; // the file edited, its text "from" becoming "to"; "" for no edit
    std::u16string (*from)(const Script&);
    std::u16string (*to)(const Script&);
    std::string (*setting)(const Script&); // the edit as quillon-settings takes it
    void (*inBoxes)(LoadoutsModel&, OptionsModel&, const Script&); // as a window takes it
};
const Edit Edits[] = {
    {"loadoutName", "QLLoadouts.ini", [](const Script& s) { return u"[0]=" + s.oldLoadout; },
     [](const Script& s) { return u"[0]=" + s.newLoadout; },
     [](const Script& s) { return "thief1=" + inUtf8(s.newLoadout); },
     [](LoadoutsModel& l, OptionsModel&, const Script& s) { l.boxes[0] = s.newLoadout; }},
    {"playerName", "QuillonUser.ini", [](const Script& s) { return u"Name=" + s.oldName; },
     [](const Script& s) { return u"Name=" + s.newName; },
     [](const Script& s) { return "Name=" + inUtf8(s.newName); },
     [](LoadoutsModel&, OptionsModel& o, const Script& s) { o.texts[0] = s.newName; }},
    {"aSwitch", "QuillonUser.ini",
     [](const Script&) { return std::u16string(u"bInvertMouse=False"); },
     [](const Script&) { return std::u16string(u"bInvertMouse=True"); },
     [](const Script&) { return std::string("bInvertMouse=true"); },
     [](LoadoutsModel&, OptionsModel& o, const Script&) { o.checks[4] = true; }},
    {"nothing", "", nullptr, nullptr, nullptr, nullptr}};

const char* const FileNames[] = {"QLLoadouts.ini", "QuillonMod.ini", "QuillonUser.ini",
                                 "QuillonAI.ini", "QLAux.ini"};

// A file of the sample folder with the script's text in it, as text.
std::u16string sampleText(const std::string& file, const Script& s) {
    std::u16string text = *utf16FromUtf8(TempDir::bytesOf(fs::path(QUILLON_EXAMPLES_DIR) / file));
    const auto replace = [&text](std::u16string_view from, const std::u16string& to) {
        text.replace(text.find(from), from.size(), to);
    };
    if (file == "QLLoadouts.ini") {
        replace(u"Shadow Runner", s.oldLoadout);
        replace(u"GuardLoadout[3]", u"G" + s.keyLetter + u"ardLoadout[3]"); // still 16 characters
    } else if (file == "QuillonUser.ini") {
        replace(u"Name=Player", u"Name=" + s.oldName);
    }
    return text;
}

using Case = std::tuple<Encoding, Edit, bool>; // bool: through quillon-settings
class EncodingsTest : public ::testing::TestWithParam<Case> {};

TEST_P(EncodingsTest, editWritesTheFileInItsOwnEncodingAndLeavesTheRestAsItWas) {
    const auto& [encoding, edit, commandLine] = GetParam();
#ifdef _WIN32
    if (const char* asked = std::getenv("QUILLON_TEST_CODE_PAGE")) // the locale may be missing
        ASSERT_EQ(std::to_string(GetACP()), asked);
#endif
    Script s = script();
    if (encoding.ascii) // the old text ASCII, the new the script's
        s = {u"Player", s.newName, u"Shadow Runner", s.newLoadout, u"u"};
    TempDir folder; // the game's, whose System folder holds the files
    fs::create_directory(folder.path() / "System");
    for (const char* file : FileNames)
        folder.write("System/"s + file, encoding.bytesOf(sampleText(file, s)));
    if (encoding.patch469)
        folder.write("System/Cluster.dll", "");
    if (commandLine) {
        std::vector<std::string> args = {"--system-dir", folder.path().string(),
                                         edit.setting ? "set" : "show"};
        if (edit.setting)
            args.push_back(edit.setting(s));
        const ProgramRun run = runProgram(QUILLON_SETTINGS_PATH, args, folder.path());
        EXPECT_EQ(run.status, 0) << run.err;
        if (!edit.setting) {
            for (const auto& shown :
                 {u"thief1=" + s.oldLoadout, u"guard4=Lantern Bearer"s, u"Name=" + s.oldName})
                EXPECT_NE(run.out.find(inUtf8(shown) + "\n"), std::string::npos) << run.out;
        }
    } else {
        Startup::SystemDir = (folder.path() / "System" / "").string();
        Startup::LoadIniFiles();
        LoadoutsModel loadouts;
        RecordingOptions options;
        Functions::OptionSettings = {};
        Functions::ReadLoadouts(loadouts);
        OptionFields::LoadOptionFields(options);
        EXPECT_EQ(loadouts.boxes[0], s.oldLoadout);
        EXPECT_EQ(loadouts.boxes[7], u"Lantern Bearer");
        EXPECT_EQ(options.texts[0], s.oldName);
        if (edit.inBoxes)
            edit.inBoxes(loadouts, options, s);
        Functions::WriteLoadouts(loadouts);
        OptionFields::SaveOptionFieldsAndFiles(options);
    }

    for (const char* file : FileNames) {
        std::u16string text = sampleText(file, s);
        if (edit.file == std::string(file))
            text.replace(text.find(edit.from(s)), edit.from(s).size(), edit.to(s));
        EXPECT_EQ(folder.read("System/"s + file), encoding.bytesOf(text)) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EncodingsTest,
                         ::testing::Combine(::testing::ValuesIn(Encodings),
                                            ::testing::ValuesIn(Edits), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name +
                                    (std::get<2>(info.param) ? "_quillonSettings" : "_windowsCore");
                         });

} // namespace
