// Runs the real quillon-settings on System folders of the tests' own and checks its exit status,
// what it says, and every byte of the five files afterwards.
#include "ChildProcess.h"
#include "GameStandIn.h"
#include "RunProgram.h"
#include "TempDir.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "AddedRegistryValue_win.h"
#else
#include "EnvFolder.h"

#include <cstdlib>
#include <sys/wait.h>
#endif

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace {

const fs::path Examples = QUILLON_EXAMPLES_DIR;
const fs::path Fixtures = QUILLON_FIXTURES_DIR;
const char* const FileNames[] = {"QLLoadouts.ini", "QuillonMod.ini", "QuillonUser.ini",
                                 "QuillonAI.ini", "QLAux.ini"};

// The text "from" in one file, expected to read "to" after the run.
struct Edit {
    const char* file;
    std::string from;
    std::string to;
};

struct Case {
    const char* name;
    std::vector<std::string> args; // "@" stands for the game folder, whose System folder
                                   // holds the sample files with the input case's files over them
    int status;
    std::vector<std::string> out = {}; // fragments of standard output
    std::string err = {};              // a fragment of standard error; "" when none is expected
    const char* input = "";            // a fixture case whose files stand over the sample files
    const char* expected = "";         // a fixture folder of files expected afterwards
    std::vector<Edit> edits = {}; // changes expected beyond that; none: the files are untouched
    void (*prepare)(const fs::path& system) = nullptr; // anything else the case needs
    bool gameRunning = false;   // the game's stand-in runs from the System folder meanwhile
    const char* takenAway = ""; // a name the case left in the System folder that the run removes
};

// Names the case in ctest's list instead of showing its bytes.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

void dropTimeLimit(const fs::path& system) {
    std::string bytes = TempDir::bytesOf(system / "QuillonMod.ini");
    bytes.erase(bytes.find("TimeLimit=20\r\n"), 14);
    std::ofstream(system / "QuillonMod.ini", std::ios::binary) << bytes;
}

std::string program() {
    return QUILLON_SETTINGS_PATH;
}

const std::string CafeEuro = "Caf\xc3\xa9 \xe2\x82\xac"; // "Café €" in UTF-8

// The arguments after "--system-dir @".
std::vector<std::string> in(std::vector<std::string> args) {
    args.insert(args.begin(), {"--system-dir", "@"});
    return args;
}

void makeQuillonModReadOnly(const fs::path& system) {
    fs::permissions(system / "QuillonMod.ini",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

// The switch as a hand might write it: it reads False all the same.
void lowerCaseLogIP(const fs::path& system) {
    std::string bytes = TempDir::bytesOf(system / "QuillonMod.ini");
    bytes.replace(bytes.find("bLogIPInChat=False"), 18, "bLogIPInChat=false");
    std::ofstream(system / "QuillonMod.ini", std::ios::binary) << bytes;
}

// What a program that locked the folder with a file of its own and crashed left there (or an
// earlier version of this one, which made that file in every folder).
void leaveALockFile(const fs::path& system) {
    std::ofstream(system / ".quillon-lock");
}

void removeQLLoadouts(const fs::path& system) {
    fs::remove(system / "QLLoadouts.ini");
}

// clang-format off
const std::vector<Case> Cases = {
    // Reading, as the windows show the values
    {"showListsEverySetting", in({"show"}), 0,
     {"thief1=Shadow Runner\n", "guard4=Lantern Bearer\n", "ForceBuying=True\n", "Name=Player\n",
      "MouseSensitivity=3.00\n", "bInvertMouse=False\n", "PercentageLootDropped=29\n"}},
    {"getMatchesNamesIgnoringCase", {"get", "percentageTOpassvote", "--system-dir", "@"}, 0, {"50\n"}},
    {"getGivesUtf8", in({"get", "THIEF4"}), 0, {CafeEuro + " Fingers\n"}, "", "loadouts/unedited"},
    {"getOfAMissingKeySaysSo", in({"get", "TimeLimit"}), 0, {}, "TimeLimit is missing", "", "", {},
     dropTimeLimit},
    // Writing, byte for byte as the windows write the same edit
    {"setText", in({"set", "timelimit=45"}), 0, {}, "", "", "",
     {{"QuillonMod.ini", "TimeLimit=20", "TimeLimit=45"}}},
    {"setPercentStoresAFraction", in({"set", "PercentageLootDropped=35"}), 0, {}, "", "", "",
     {{"QuillonMod.ini", "Dropped=0.29", "Dropped=0.35"}}},
    {"setSwitch", in({"set", "bInvertMouse=TRUE", "bLogIPInChat=0"}), 0, {}, "", "", "",
     {{"QuillonUser.ini", "bInvertMouse=False", "bInvertMouse=True"}}},
    {"setLoadoutsAndAnOptionInOneSave",
     in({"set", "thief1=", "thief2=  Rope and Arrows ", "thief3=Gas=Bomber", "thief4=" + CafeEuro,
         "guard1=N", "ForceBuying=false", "TimeLimit=45"}), 0, {}, "", "", "loadouts/edited/expected",
     {{"QLLoadouts.ini", "A name longer than thirty characters, kept whole", "Lantern Bearer"},
      {"QuillonMod.ini", "TimeLimit=20", "TimeLimit=45"}}},
    {"setForceBuyingWritesTrueAndCrLf", in({"set", "forcebuying=1"}), 0, {}, "",
     "loadouts/unedited", "loadouts/unedited/expected"},
    // A dry run tells what would change and writes nothing; --json reports either way
    {"checkTellsWhatWouldChange", in({"set", "--check", "TimeLimit=45", "bBalanceTeams=true"}), 0,
     {"TimeLimit: \"20\" -> \"45\"\nbBalanceTeams: \"True\" (as it is)\nwould write QuillonMod.ini\n"}},
    {"checkJsonOfNothingToChange", in({"set", "--check", "--json", "timelimit=20"}), 0,
     {"\"changed\": false,\n  \"files\": [],", "\"TimeLimit\": {\"before\": \"20\", \"after\": \"20\"}"}},
    {"setJsonReportsBeforeAndAfter",
     in({"set", "--json", "PercentageLootDropped=35", "thief4=" + CafeEuro, "ForceBuying=1"}), 0,
     {"\"changed\": true,\n  \"files\": [\"QLLoadouts.ini\", \"QuillonMod.ini\"],",
      "\"PercentageLootDropped\": {\"before\": \"29\", \"after\": \"35\"}",
      "\"thief4\": {\"before\": \"Quiet Fingers\", \"after\": \"" + CafeEuro + "\"}",
      "\"ForceBuying\": {\"before\": \"True\", \"after\": \"True\"}"}, "", "", "",
     {{"QuillonMod.ini", "Dropped=0.29", "Dropped=0.35"},
      {"QLLoadouts.ini", "Quiet Fingers", "Caf\xe9 \x80"}}},
    {"setJsonChangedByBytesAlone", in({"set", "--json", "bLogIPInChat=0"}), 0,
     {"\"changed\": true,", "\"bLogIPInChat\": {\"before\": \"False\", \"after\": \"False\"}"},
     "", "", "", {{"QuillonMod.ini", "bLogIPInChat=false", "bLogIPInChat=False"}}, lowerCaseLogIP},
    // The game running from the folder: said on standard error, and set still saves
    {"setWhileTheGameRunsWarnsAndSaves", in({"set", "TimeLimit=45"}), 0, {},
     std::string("warning: ") + GameProgramName + " (process ", "", "",
     {{"QuillonMod.ini", "TimeLimit=20", "TimeLimit=45"}}, nullptr, true},
    {"showWhileTheGameRunsNotesIt", in({"show"}), 0, {"TimeLimit=20\n"},
     std::string("note: ") + GameProgramName + " (process ", "", "", {}, nullptr, true},
    // Refused, nothing written
    {"unknownName", in({"set", "TimeLimit=45", "Colour=red"}), 2, {}, "unknown setting \"Colour\""},
    {"noEqualsSign", in({"set", "TimeLimit"}), 2, {}, "has no \"=\""},
    {"percentNotANumber", in({"set", "PercentageToPassVote=abc"}), 2, {},
     "PercentageToPassVote: \"abc\" is not a number"},
    {"checkRefusesAsSetDoes", in({"set", "--check", "--json", "TimeLimit=45", "thief3=a\rb"}), 2,
     {}, "thief3: "},
    {"switchNotASwitchValue", in({"set", "bBalanceTeams=yes"}), 2, {}, "bBalanceTeams: \"yes\""},
    {"optionOutsideTheCodePage", in({"set", "TimeLimit=45", "Name=\xce\xa9"}), 2, {},
     "Name: \"\xce\xa9\""},
    {"loadoutOutsideTheCodePage", in({"set", "guard2=A \xce\xa9"}), 2, {}, "guard2: "},
    {"optionWithALineBreak", in({"set", "Name=a\nb"}), 2, {}, "Name: "},
    {"loadoutWithALineBreak", in({"set", "thief3=a\rb"}), 2, {}, "thief3: "},
    {"longerThanTheBox", in({"set", "MouseSensitivity=1.234"}), 2, {},
     "MouseSensitivity: the value has 5 characters; at most 4"},
    {"loadoutLongerThanTheBox", in({"set", "guard4=" + std::string(31, 'x')}), 2, {},
     "guard4: the value has 31 characters; at most 30"},
    {"setOfAMissingKey", in({"set", "TimeLimit=45"}), 2, {}, "TimeLimit: no line", "", "", {},
     dropTimeLimit},
    {"readOnlyFile", in({"set", "TimeLimit=45"}), 1, {}, "QuillonMod.ini\": the file is read-only",
     "", "", {}, makeQuillonModReadOnly},
    {"showTakesAwayALockFileLeftBehind", in({"show"}), 0, {"TimeLimit=20\n"}, "", "", "", {},
     leaveALockFile, false, ".quillon-lock"},
    {"folderWithoutTheFiles", in({"show"}), 3, {}, "holds no QLLoadouts.ini", "", "", {},
     removeQLLoadouts},
    {"noCommand", in({}), 2, {}, "no command given"},
    {"checkWithShow", in({"show", "--check"}), 2, {}, "--check goes with set only"},
    {"help", {"--help"}, 0, {"quillon-settings [--system-dir DIR] show [--json]", "Exit status"}},
};
// clang-format on

class QuillonSettingsTest : public ::testing::TestWithParam<Case> {};

TEST_P(QuillonSettingsTest, exitStatusOutputAndFiles) {
    const Case& c = GetParam();
    TempDir folder;
    const fs::path system = folder.path() / "System";
    folder.copyFilesFrom(Examples, "System");
    if (*c.input)
        folder.copyFilesFrom(Fixtures / c.input, "System");
    if (c.prepare)
        c.prepare(system);

    auto args = c.args;
    for (auto& arg : args)
        if (arg == "@")
            arg = folder.path().string();
    std::optional<ChildProcess> game;
    if (c.gameRunning)
        game.emplace(copyOfStandIn(system, GameProgramName), std::vector<std::string>{});
    // Every name and byte of the System folder: a run writes nothing there but its edits.
    const auto before = TempDir::contentsOf(system);
    const ProgramRun run = runProgram(program(), args, folder.path());

    EXPECT_EQ(run.status, c.status) << run.err;
    for (const auto& fragment : c.out)
        EXPECT_NE(run.out.find(fragment), std::string::npos) << fragment << " in\n" << run.out;
    if (c.err.empty())
        EXPECT_EQ(run.err, "");
    else
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    auto expected = before;
    expected.erase(c.takenAway);
    for (const char* file : FileNames) {
        const fs::path expectedFile = fs::path(Fixtures) / c.expected / file;
        if (*c.expected && fs::exists(expectedFile))
            expected[file] = TempDir::bytesOf(expectedFile);
        for (const auto& edit : c.edits)
            if (edit.file == std::string(file))
                expected[file].replace(expected[file].find(edit.from), edit.from.size(), edit.to);
    }
    EXPECT_EQ(TempDir::contentsOf(system), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuillonSettingsTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

// A JSON string's text, its escapes undone (a pair of \u escapes makes one character).
std::string unescape(const std::string& text) {
    std::u16string escaped;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && text.at(i + 1) == 'u') {
            escaped += static_cast<char16_t>(std::stoi(text.substr(i + 2, 4), nullptr, 16));
            i += 5;
            continue;
        }
        out += utf8FromUtf16(std::exchange(escaped, {}));
        out += text[i] != '\\' ? text[i]
                               : "\"\\/\b\f\n\r\t"[std::string("\"\\/bfnrt").find(text[++i])];
    }
    return out + utf8FromUtf16(escaped);
}

// The object that --json writes, read back: each member a string, or nothing for null.
std::map<std::string, std::optional<std::string>> readJsonObject(const std::string& json) {
    static const std::regex member(
        R"re(\s*"((?:[^"\\\x00-\x1f]|\\.)*)"\s*:\s*(null|"((?:[^"\\\x00-\x1f]|\\.)*)")\s*([,}]))re");
    std::map<std::string, std::optional<std::string>> members;
    auto at = json.cbegin() + static_cast<std::ptrdiff_t>(json.find_first_not_of(" \n")) + 1;
    std::smatch found;
    EXPECT_EQ(json.at(0), '{');
    while (
        std::regex_search(at, json.cend(), found, member, std::regex_constants::match_continuous)) {
        members[unescape(found[1])] =
            found[2] == "null" ? std::nullopt : std::optional(unescape(found[3]));
        at = found[0].second;
        if (found[4] == "}")
            return members;
    }
    ADD_FAILURE() << "not a JSON object of strings: " << json;
    return members;
}

TEST(QuillonSettingsJsonTest, showJsonReadsBackAsTheShownValuesWithMissingAsNull) {
    TempDir folder;
    folder.copyFilesFrom(Examples, "System");
    folder.copyFilesFrom(Fixtures / "loadouts/unedited", "System");
    dropTimeLimit(folder.path() / "System");
    const auto args = std::vector<std::string>{"--system-dir", folder.path().string(), "show"};
    const ProgramRun text = runProgram(program(), args, folder.path());
    auto jsonArgs = args;
    jsonArgs.push_back("--json");
    const ProgramRun json = runProgram(program(), jsonArgs, folder.path());
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.err.find("TimeLimit is missing"), std::string::npos) << json.err;

    const auto members = readJsonObject(json.out);
    EXPECT_EQ(members.size(), 23u);
    EXPECT_EQ(members.at("TimeLimit"), std::nullopt);
    EXPECT_EQ(members.at("thief4"), CafeEuro + " Fingers");
    EXPECT_EQ(members.at("guard2"), "Crossbow\tSentry");
    std::size_t shown = 0;
    for (std::size_t start = 0, end; (end = text.out.find('\n', start)) != std::string::npos;
         start = end + 1, ++shown) {
        const std::string line = text.out.substr(start, end - start);
        const std::string name = line.substr(0, line.find('='));
        EXPECT_EQ(members.at(name), line.substr(name.size() + 1)) << line;
    }
    EXPECT_EQ(shown, 22u);
}

// Copies of quillon-settings saving one folder at once, each its own values into four files, and
// one reading it: every set of files read, and the set left at the end, is one save's whole.
TEST(QuillonSettingsConcurrencyTest, savesAtOnceLeaveEveryFileSetOneSavesWhole) {
    TempDir folder;
    folder.copyFilesFrom(Examples, "System");
    constexpr int Writers = 4;
    constexpr int Rounds = 20;
    const std::vector<std::string> Names = {"thief1", "TimeLimit", "Name", "PurgeCacheDays"};
    // The token each of the four settings carries (the sample files' values count as one save).
    const auto tokens = [&](const std::string& shown) {
        std::set<std::string> found;
        for (const auto& name : Names) {
            const auto at = shown.find("\n" + name + "=");
            const auto value = shown.substr(at + name.size() + 2);
            const std::string text = value.substr(0, value.find('\n'));
            const bool sample =
                text == "Shadow Runner" || text == "20" || text == "Player" || text == "30";
            found.insert(sample ? "sample" : text.substr(text.find_first_of("0123456789")));
        }
        return found;
    };
    std::map<int, int> statuses;
    int torn = 0;
    int read = 0;
    for (int round = 0; round < Rounds; ++round) {
        std::vector<ProgramRun> runs(Writers + 1);
        std::vector<std::unique_ptr<TempDir>> outputs;
        std::vector<std::thread> threads;
        for (int w = 0; w <= Writers; ++w) {
            outputs.push_back(std::make_unique<TempDir>());
            const std::string token = std::to_string((w + 1) * 100 + round);
            std::vector<std::string> args{"--system-dir", folder.path().string()};
            if (w == Writers)
                args.push_back("show");
            else
                args.insert(args.end(), {"set", "thief1=T" + token, "TimeLimit=" + token,
                                         "Name=N" + token, "PurgeCacheDays=" + token});
            threads.emplace_back([&runs, w, args, out = outputs[w]->path()] {
                runs[w] = runProgram(program(), args, out);
            });
        }
        for (auto& thread : threads)
            thread.join();
        for (int w = 0; w < Writers; ++w) {
            ++statuses[runs[w].status];
            if (runs[w].status != 0 && runs[w].status != 4)
                ADD_FAILURE() << runs[w].status << ": " << runs[w].err;
        }
        if (runs[Writers].status == 0) {
            ++read;
            torn += tokens("\n" + runs[Writers].out).size() != 1;
        }
    }
    const ProgramRun last =
        runProgram(program(), {"--system-dir", folder.path().string(), "show"}, folder.path());
    EXPECT_EQ(tokens("\n" + last.out).size(), 1u) << last.out;
    EXPECT_EQ(torn, 0);
    EXPECT_GT(statuses[0], 0);
    EXPECT_EQ(statuses[0] + statuses[4], Writers * Rounds) << "only success or a busy folder";
    std::cout << Writers * Rounds << " saves: " << statuses[0] << " done, " << statuses[4]
              << " told the folder was busy; " << read << " reads meanwhile, " << torn
              << " of them torn\n";
}

#ifndef _WIN32
// Output that cannot be written (a full disk) fails the run, saying why on standard error.
TEST(QuillonSettingsOutputTest, standardOutputThatCannotBeWrittenFailsTheRun) {
    TempDir folder;
    folder.copyFilesFrom(Examples, "System");
    const std::string command = "'" + program() + "' --system-dir '" + folder.path().string() +
                                "' show >/dev/full 2>'" + (folder.path() / "err").string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_NE(folder.read("err").find("cannot write to standard output"), std::string::npos);
}
#endif

// A game folder named in any script, or deeper than Windows' 260 characters, named with
// --system-dir or found through the registry's install folder: set writes into it.
TEST(QuillonSettingsFolderNamesTest, setWritesIntoAFolderOfAnyName) {
    std::string deep = "UT";
    for (char c = 'a'; c < 'f'; ++c)
        deep += "/" + std::string(60, c);
    const struct {
        std::string below; // the game folder, below drive C:'s scratch folder
        bool inRegistry;   // found through the registry, else named with --system-dir
    } cases[] = {{"\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B/UT", true},
                 {"\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0/UT", false},
                 {deep, false}};
    for (const auto& c : cases) {
#ifdef _WIN32
        TempDir scratch; // on drive C: of the test run's Wine prefix
        const fs::path driveC = scratch.path();
        const auto u8 = driveC.u8string();
        const std::string windowsDriveC(u8.begin(), u8.end());
#else
        EnvFolder scratch("WINEPREFIX");
        const fs::path driveC = scratch.path() / "drive_c";
        fs::create_directories(scratch.path() / "dosdevices");
        fs::create_directory_symlink("../drive_c", scratch.path() / "dosdevices/c:");
        const std::string windowsDriveC = "C:";
#endif
        std::string folder = windowsDriveC + "\\" + c.below;
        std::replace(folder.begin(), folder.end(), '/', '\\');
        const fs::path below = std::u8string(c.below.begin(), c.below.end());
        scratch.copyFilesFrom(Examples,
                              driveC.lexically_relative(scratch.path()) / below / "System");
        std::vector<std::string> args = {"set", "TimeLimit=45"};
#ifdef _WIN32
        std::optional<AddedRegistryValue> added;
        if (c.inRegistry)
            added.emplace(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "SOFTWARE\\Unreal Technology",
                          "Installed Apps\\UnrealTournament", "Folder", folder);
#else
        if (c.inRegistry) {
            std::string value = folder; // each '\' doubled, as in every registry file
            for (auto at = value.find('\\'); at != std::string::npos; at = value.find('\\', at + 2))
                value.insert(at, 1, '\\');
            scratch.write("system.reg", "WINE REGISTRY Version 2\n\n[Software\\\\Unreal Technology"
                                        "\\\\Installed Apps\\\\UnrealTournament]\n\"Folder\"=\"" +
                                            value + "\"\n");
        }
#endif
        if (!c.inRegistry)
            args.insert(args.begin(), {"--system-dir", folder});
        const ProgramRun run = runProgram(program(), args, scratch.path());
        EXPECT_EQ(run.status, 0) << c.below << ": " << run.err;
        EXPECT_NE(
            TempDir::bytesOf(driveC / below / "System" / "QuillonMod.ini").find("TimeLimit=45"),
            std::string::npos)
            << c.below;
        // The library's own removal of a folder and all in it does not end on a path beyond 260
        // characters on Windows: each file and folder goes by itself, the deepest first.
        for (const char* file : FileNames)
            fs::remove(driveC / below / "System" / file);
        for (fs::path part = below / "System"; !part.empty(); part = part.parent_path())
            fs::remove(driveC / part);
    }
}

#ifndef _WIN32
// The automatic search, in a Wine prefix of the test's own.
TEST(QuillonSettingsSearchTest, findsTheFolderTheRegistryNamesElseExitsWithThree) {
    EnvFolder prefix("WINEPREFIX");
    const auto args = std::vector<std::string>{"get", "TimeLimit"};
    const ProgramRun none = runProgram(program(), args, prefix.path());
    EXPECT_EQ(none.status, 3);
    EXPECT_NE(none.err.find("no System folder found"), std::string::npos) << none.err;

    fs::create_directories(prefix.path() / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices/c:");
    prefix.copyFilesFrom(Examples, "drive_c/Quillon/System");
    prefix.write("system.reg",
                 "WINE REGISTRY Version 2\n;; All keys relative to "
                 "\\\\Machine\n\n[Software\\\\Unreal Technology\\\\"
                 "Installed Apps\\\\UnrealTournament]\n\"Folder\"=\"C:\\\\Quillon\"\n");
    const auto before = TempDir::contentsOf(prefix.path() / "drive_c/Quillon/System");
    const ProgramRun found = runProgram(program(), args, prefix.path());
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, "20\n");
    const ProgramRun where = runProgram(program(), {"where"}, prefix.path());
    EXPECT_EQ(where.status, 0) << where.err;
    EXPECT_EQ(TempDir::contentsOf(prefix.path() / "drive_c/Quillon/System"), before);
}
#endif

} // namespace
