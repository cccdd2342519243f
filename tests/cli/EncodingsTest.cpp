// Each encoding a settings file may be in, with each kind of edit, through both programs: the core
// path the windows take (the two editors' models) and quillon-settings as a process. The text is
// Latin where the code page holds it (1252), else Japanese (932). Every byte of the five files
// afterwards is checked, and the values as the programs show them.
#include "FakeForms.h"
#include "RunProgram.h"
#include "TempDir.h"
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

// The values before and after the edits; a loadout line whose 16-character key holds keyLetter.
struct Script {
    std::u16string name, newName, loadout, newLoadout, keyLetter, off = u"False", on = u"True";
};
Script script(bool ascii) {
    const Script latin{u"J\u00F6rg", u"Zo\u00EB", u"Caf\u00E9 au lait", u"Cr\u00E8me", u"\u00FC"};
    const Script japanese{u"\u30E8\u30EB\u30B0", u"\u30BE\u30FC\u30A4", u"\u30AB\u30D5\u30A7",
                          u"\u30AF\u30EA\u30FC\u30E0", u"\u30FC"};
    Script s = CodePage::encode(latin.name + latin.newName) ? latin : japanese;
    if (ascii) // the files ASCII before the edit
        s.name = u"Player", s.loadout = u"Shadow Runner", s.keyLetter = u"u";
    return s;
}

using Bytes = std::string (*)(const std::u16string& text);
std::string inUtf8(const std::u16string& text) {
    return utf8FromUtf16(text);
}
struct Encoding {
    const char* name;
    Bytes bytesOf;         // how the files are written, and how they must read afterwards
    bool ascii = false;    // the files hold only ASCII before the edit
    bool patch469 = false; // the System folder holds the driver that tells the community patch
};
const Bytes inCodePage = [](const std::u16string& text) { return CodePage::encode(text).value(); };
const Encoding Encodings[] = {
    {"codePage", inCodePage},
    {"utf8", inUtf8},
    {"utf8WithMark", [](const std::u16string& text) { return "\xEF\xBB\xBF" + inUtf8(text); }},
    {"utf16le",
     [](const std::u16string& text) {
         std::string bytes = "\xFF\xFE";
         for (const char16_t unit : text)
             bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
         return bytes;
     }},
    {"asciiOf1999", inCodePage, true},
    {"asciiOf469", inUtf8, true, true}};

struct Edit {
    const char* setting; // as quillon-settings names it; nullptr for no edit
    const char* file;
    std::u16string key;
    std::u16string Script::*from;
    std::u16string Script::*to;
};
const Edit Edits[] = {{"thief1", "QLLoadouts.ini", u"[0]=", &Script::loadout, &Script::newLoadout},
                      {"Name", "QuillonUser.ini", u"Name=", &Script::name, &Script::newName},
                      {"bInvertMouse", "QuillonUser.ini", u"Mouse=", &Script::off, &Script::on},
                      {nullptr, "", u"", nullptr, nullptr}};

// Names the rows in ctest's list instead of showing their bytes.
void PrintTo(const Encoding& encoding, std::ostream* os) {
    *os << encoding.name;
}
void PrintTo(const Edit& edit, std::ostream* os) {
    *os << (edit.setting ? edit.setting : "nothing");
}

// A file of the sample folder with the script's text in it, as text.
std::u16string sampleText(const std::string& file, const Script& s) {
    std::u16string text = *utf16FromUtf8(TempDir::bytesOf(fs::path(QUILLON_EXAMPLES_DIR) / file));
    const auto replace = [&text](std::u16string_view from, const std::u16string& to) {
        text.replace(text.find(from), from.size(), to);
    };
    if (file == "QLLoadouts.ini") {
        replace(u"Shadow Runner", s.loadout);
        replace(u"GuardLoadout[3]", u"G" + s.keyLetter + u"ardLoadout[3]"); // still 16 characters
    } else if (file == "QuillonUser.ini") {
        replace(u"Name=Player", u"Name=" + s.name);
    }
    return text;
}

class EncodingsTest : public ::testing::TestWithParam<std::tuple<Encoding, Edit, bool>> {};

TEST_P(EncodingsTest, editWritesTheFileInItsOwnEncodingAndLeavesTheRestAsItWas) {
    const auto& [encoding, edit, commandLine] = GetParam();
#ifdef _WIN32
    if (const char* asked = std::getenv("QUILLON_TEST_CODE_PAGE")) { // the locale may be missing
        ASSERT_EQ(std::to_string(GetACP()), asked);
    }
#endif
    const Script s = script(encoding.ascii);
    const std::string setting = edit.setting ? edit.setting : "";
    const char* const files[] = {"QLLoadouts.ini", "QuillonMod.ini", "QuillonUser.ini",
                                 "QuillonAI.ini", "QLAux.ini"};
    TempDir folder; // the game's, whose System folder holds the files
    fs::create_directory(folder.path() / "System");
    for (const char* file : files)
        folder.write("System/"s + file, encoding.bytesOf(sampleText(file, s)));
    if (encoding.patch469)
        folder.write("System/Cluster.dll", "");

    if (commandLine) {
        std::vector<std::string> args = {"--system-dir", folder.path().string(),
                                         setting.empty() ? "show" : "set"};
        if (!setting.empty())
            args.push_back(setting + "=" + inUtf8(s.*edit.to));
        const ProgramRun run = runProgram(QUILLON_SETTINGS_PATH, args, folder.path());
        EXPECT_EQ(run.status, 0) << run.err;
        for (const auto& shown :
             {u"thief1=" + s.loadout, u"guard4=Lantern Bearer"s, u"Name=" + s.name})
            EXPECT_TRUE(edit.setting || run.out.find(inUtf8(shown) + "\n") != std::string::npos)
                << run.out;
    } else {
        Startup::SystemDir = (folder.path() / "System" / "").string();
        Startup::LoadIniFiles();
        LoadoutsModel loadouts;
        RecordingOptions options;
        Functions::OptionSettings = {};
        Functions::ReadLoadouts(loadouts);
        OptionFields::LoadOptionFields(options);
        EXPECT_EQ(loadouts.boxes[0], s.loadout);
        EXPECT_EQ(loadouts.boxes[7], u"Lantern Bearer");
        EXPECT_EQ(options.texts[0], s.name);
        if (setting == "thief1")
            loadouts.boxes[0] = s.newLoadout;
        else if (setting == "Name")
            options.texts[0] = s.newName;
        options.checks[4] = edit.to == &Script::on; // Invert Mouse?
        Functions::WriteLoadouts(loadouts);
        OptionFields::SaveOptionFieldsAndFiles(options);
    }

    for (const char* file : files) {
        std::u16string text = sampleText(file, s);
        if (edit.file == std::string(file))
            text.replace(text.find(edit.key + s.*edit.from),
                         edit.key.size() + (s.*edit.from).size(), edit.key + s.*edit.to);
        EXPECT_EQ(folder.read("System/"s + file), encoding.bytesOf(text)) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EncodingsTest,
                         ::testing::Combine(::testing::ValuesIn(Encodings),
                                            ::testing::ValuesIn(Edits), ::testing::Bool()),
                         [](const auto& info) {
                             const char* setting = std::get<1>(info.param).setting;
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    (setting ? setting : "nothing") +
                                    (std::get<2>(info.param) ? "_quillonSettings" : "_windowsCore");
                         });

} // namespace
