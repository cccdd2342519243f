#include "store/Startup.h"
#include "TempDir.h"
#include "files/FileError.h"
#include "files/FileIo.h"
#include "files/FileIoSteps.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

const char* const FileNames[] = {"QLLoadouts.ini", "QuillonMod.ini", "QuillonUser.ini",
                                 "QuillonAI.ini", "QLAux.ini"};

// A System folder holding the five settings files, with SystemDir pointing at it.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 5; ++i)
            dir.write(FileNames[i], "[File" + std::to_string(i + 1) + "]\r\nKey=Value\r\n");
        Startup::SystemDir = dir.dir();
        Startup::LoadoutsSaved = false;
        Startup::setLoadoutsReadHook(nullptr);
    }
    void TearDown() override { Startup::setLoadoutsReadHook(nullptr); }

    LineArray& array(int i) { return *Startup::settingsFiles()[static_cast<std::size_t>(i)].lines; }

    // Loads the five files, saves them back and returns what is on disk for the first one.
    std::string roundTrip(const std::string& bytes) {
        dir.write("QLLoadouts.ini", bytes);
        Startup::LoadIniFiles();
        Startup::SaveIniFiles();
        return dir.read("QLLoadouts.ini");
    }

    std::vector<std::string> leftoverFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const auto name = entry.path().filename().string();
            if (std::find(std::begin(FileNames), std::end(FileNames), name) == std::end(FileNames))
                names.push_back(name);
        }
        return names;
    }

    TempDir dir;
};

// --- Loading: lines as bytes -------------------------------------------------------------

TEST_F(StartupTest, fileOfNLinesLoadsAsNPlusOneElementsWithSpareLast) {
    dir.write("QLLoadouts.ini", "one\r\ntwo\r\nthree\r\n");
    Startup::LoadIniFiles();
    EXPECT_EQ(Startup::QlLoadoutsArray, (LineArray{"one", "two", "three", ""}));
}

TEST_F(StartupTest, everyTerminatorKindEndsALine) {
    dir.write("QLLoadouts.ini", "crlf\r\ncr\rlf\nlast");
    Startup::LoadIniFiles();
    EXPECT_EQ(Startup::QlLoadoutsArray, (LineArray{"crlf", "cr", "lf", "last", ""}));
}

TEST_F(StartupTest, blankLinesAndTerminatorRunsAreKeptAsEmptyLines) {
    dir.write("QLLoadouts.ini", "a\r\n\r\n\n\r\rb\r\n");
    Startup::LoadIniFiles();
    EXPECT_EQ(Startup::QlLoadoutsArray, (LineArray{"a", "", "", "", "", "b", ""}));
}

TEST_F(StartupTest, emptyFileLoadsAsSpareAloneAndSavesAsZeroBytes) {
    EXPECT_EQ(roundTrip(""), "");
    EXPECT_EQ(Startup::QlLoadoutsArray, (LineArray{""}));
}

TEST_F(StartupTest, anyBytesSurviveARoundTripButForTheirTerminators) {
    const std::string odd =
        "NUL\0inside\r\nhigh \xE9\xFF\x80 bytes\n\xC3(invalid utf-8)\r  spaced  \r\n[Sec]"s;
    EXPECT_EQ(
        roundTrip(odd),
        "NUL\0inside\r\nhigh \xE9\xFF\x80 bytes\r\n\xC3(invalid utf-8)\r\n  spaced  \r\n[Sec]\r\n"s);
}

TEST_F(StartupTest, utf8ByteOrderMarkStaysPartOfTheFirstLine) {
    EXPECT_EQ(roundTrip("\xEF\xBB\xBFKey=1\r\n"), "\xEF\xBB\xBFKey=1\r\n");
}

// UTF-16 text held as UTF-8 goes back as the units it was, a pair of surrogates and NUL included;
// only its line ends become CR LF, as in every file.
TEST_F(StartupTest, utf16TextSurvivesARoundTripButForItsTerminators) {
    const std::string pair = "\x3D\xD8\x00\xDE"s; // U+1F600
    EXPECT_EQ(roundTrip("\xFF\xFEK\0=\0"s + pair + "\0\0\r\0\n\0\xE9\0\n\0"s),
              "\xFF\xFEK\0=\0"s + pair + "\0\0\r\0\n\0\xE9\0\r\0\n\0"s);
    EXPECT_EQ(Startup::QlLoadoutsArray, (LineArray{"K=\xF0\x9F\x98\x80\0"s, "\xC3\xA9", ""}));
}

TEST_F(StartupTest, secondLoadReplacesTheArraysInsteadOfAppending) {
    Startup::LoadIniFiles();
    dir.write("QuillonMod.ini", "only\r\n");
    Startup::LoadIniFiles();
    EXPECT_EQ(Startup::QuillonModArray, (LineArray{"only", ""}));
    EXPECT_EQ(Startup::QlLoadoutsArray, (LineArray{"[File1]", "Key=Value", ""}));
}

TEST_F(StartupTest, loadSetsLoadoutsSavedAndRunsTheHookOnceEveryFileIsRead) {
    int calls = 0;
    Startup::setLoadoutsReadHook([&] {
        ++calls;
        EXPECT_TRUE(Startup::LoadoutsSaved);
        EXPECT_EQ(Startup::QlLoadoutsArray.front(), "[File1]");
        EXPECT_EQ(Startup::QLAuxArray.front(), "[File5]");
    });
    Startup::LoadIniFiles();
    EXPECT_EQ(calls, 1);
}

// --- Loading: failures ------------------------------------------------------------------

TEST_F(StartupTest, loadFailingAtAnyFileLeavesEveryArrayAsItWas) {
    int hookCalls = 0;
    Startup::setLoadoutsReadHook([&] { ++hookCalls; });
    for (int failing = 0; failing < 5; ++failing) {
        SCOPED_TRACE(FileNames[failing]);
        for (int i = 0; i < 5; ++i)
            array(i) = {"old " + std::to_string(i)};
        fs::rename(dir.path() / FileNames[failing], dir.path() / "moved away");
        try {
            Startup::LoadIniFiles();
            ADD_FAILURE() << "the load should fail";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path(), dir.dir() + FileNames[failing]);
            EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory);
        }
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(array(i), (LineArray{"old " + std::to_string(i)}));
        EXPECT_FALSE(Startup::LoadoutsSaved);
        EXPECT_EQ(hookCalls, 0);
        fs::rename(dir.path() / "moved away", dir.path() / FileNames[failing]);
    }
}

TEST_F(StartupTest, aFileOfTheMostLinesThatCanBeEditedLoads) {
    std::string lines;
    for (std::size_t i = 0; i < MaxLinesPerFile; ++i)
        lines += "x\r\n";
    dir.write("QLAux.ini", lines);
    Startup::LoadIniFiles();
    EXPECT_EQ(Startup::QLAuxArray.size(), MaxLinesPerFile + 1);
}

// Under a settings file's name only a plain file of whole text and at most 32,766 lines is read.
// Anything else is refused at once, naming the file, and its array stays as it was: a pipe would
// block the open for good, /dev/zero would never end.
TEST_F(StartupTest, onlyEditableTextFilesAreRead) {
    std::string overLong;
    for (std::size_t i = 0; i <= MaxLinesPerFile; ++i)
        overLong += "x\r\n";
    const auto holding = [this](const std::string& bytes) {
        return [this, bytes](const fs::path&) { dir.write("QLAux.ini", bytes); };
    };
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make;
        const char* reason;
    } cases[] = {
        {"UTF-16, cut short", holding("\xFF\xFEK\0=\0X"s), "last byte (byte 7)"},
        {"UTF-16, half a pair", holding("\xFF\xFEK\0\r\0\n\0\0\xD8=\0"s), "line 2 (byte 9"},
        {"UTF-16, big end first", holding("\xFE\xFF\0K\0="s), "big end"},
        {"over-long", holding(overLong), "32766"},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, "folder"},
        {"pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "pipe"},
        {"device", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, "device"},
        {"oversize",
         [&](const fs::path& p) {
             holding("x")(p);
             fs::resize_file(p, MaxFileBytes + 1);
         },
         "bigger"},
    };
    const fs::path file = dir.path() / "QLAux.ini";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(file);
        c.make(file);
        Startup::QLAuxArray = {"kept"};
        try {
            Startup::LoadIniFiles();
            ADD_FAILURE() << "should be refused";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path(), dir.dir() + "QLAux.ini");
            EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
            EXPECT_EQ(std::string(e.what()), e.path() + ": " + e.reason());
        }
        EXPECT_EQ(Startup::QLAuxArray, (LineArray{"kept"}));
        fs::remove(file);
    }
}

// --- Saving -----------------------------------------------------------------------------

TEST_F(StartupTest, saveWritesEveryLineWithCrLfAndLeavesTheArraysAlone) {
    Startup::LoadIniFiles();
    Startup::QuillonAIArray.set(1, "Key=Changed");
    const LineArray before = Startup::QuillonAIArray;
    Startup::SaveIniFiles();
    EXPECT_EQ(dir.read("QuillonAI.ini"), "[File4]\r\nKey=Changed\r\n");
    EXPECT_EQ(Startup::QuillonAIArray, before);
    EXPECT_TRUE(leftoverFiles().empty());
}

// The command line's save leaves alone a file that would get its very own bytes back, and
// writes what the windows would write to every other file.
TEST_F(StartupTest, changedFilesSaveRewritesOnlyFilesWhoseBytesChange) {
    dir.write("QuillonAI.ini", "[File4]\nKey=Value\n"); // LF line ends become CR LF
    Startup::LoadIniFiles();
    Startup::QuillonUserArray.set(1, "Key=Edited");
    const auto inode = [this](const char* name) {
        struct stat st {};
        ::stat((dir.path() / name).c_str(), &st);
        return st.st_ino;
    };
    const auto before =
        std::vector{inode("QLLoadouts.ini"), inode("QuillonUser.ini"), inode("QuillonAI.ini")};
    Startup::SaveIniFiles(Startup::Rewrite::ChangedFiles);
    EXPECT_EQ(inode("QLLoadouts.ini"), before[0]);
    EXPECT_NE(inode("QuillonUser.ini"), before[1]);
    EXPECT_NE(inode("QuillonAI.ini"), before[2]);
    EXPECT_EQ(dir.read("QuillonUser.ini"), "[File3]\r\nKey=Edited\r\n");
    EXPECT_EQ(dir.read("QuillonAI.ini"), "[File4]\r\nKey=Value\r\n");
    EXPECT_TRUE(leftoverFiles().empty());
}

// A value must never split its line: the save refuses before anything is written.
TEST_F(StartupTest, saveRefusesALineHoldingALineBreak) {
    for (const char* value : {"Key=a\r\nb", "Key=a\n", "Key=\rb"}) {
        Startup::LoadIniFiles();
        Startup::QuillonUserArray.set(1, value);
        try {
            Startup::SaveIniFiles();
            ADD_FAILURE() << "should be refused";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path(), dir.dir() + "QuillonUser.ini");
            EXPECT_NE(e.reason().find("line 2 of QuillonUser.ini"), std::string::npos);
        }
        EXPECT_EQ(dir.read("QuillonUser.ini"), "[File3]\r\nKey=Value\r\n");
        EXPECT_TRUE(leftoverFiles().empty());
    }
}

// The game writes its settings when it closes; a save must not silently put back older lines.
// The same holds for a file that the settings folder lacked, read from the folder the game runs
// from: the load writes nothing, and the file the game made in the settings folder since counts.
TEST_F(StartupTest, fileWrittenByAnotherProgramSinceTheLoadIsReplacedOnlyWhenTheAnswerIsYes) {
    const struct {
        const char* onDisk;         // what the other program leaves in QuillonUser.ini
        std::optional<bool> answer; // the question's answer; nothing: no question registered
        bool asked;
        bool written;
        bool lacked = false; // the settings folder lacked QuillonUser.ini when it was loaded
    } cases[] = {
        {"[File3]\r\nKey=Game\r\n", std::nullopt, false, false},
        {"[File3]\r\nKey=Game\r\n", false, true, false},
        {"[File3]\r\nKey=Game\r\n", true, true, true},
        {"[File3]\r\nKey=Value\r\n", false, false, true}, // rewritten with the same bytes
        {"[File3]\r\nKey=Game\r\n", false, true, false, true},
        {"[File3]\r\nKey=Game\r\n", true, true, true, true},
        {"[File3]\r\nKey=Value\r\n", false, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.onDisk + std::to_string(c.answer.value_or(-1)) +
                     (c.lacked ? " lacked" : ""));
        // The settings folder, and the folder the game runs from when that is another.
        const fs::path settings = c.lacked ? dir.path() / "saved" : dir.path();
        if (c.lacked) {
            fs::create_directory(settings);
            for (int i = 0; i < 5; ++i)
                if (FileNames[i] != "QuillonUser.ini"s)
                    fs::copy_file(dir.path() / FileNames[i], settings / FileNames[i]);
            Startup::SystemDir = (settings / "").string();
            Startup::GameSystemDir = dir.dir();
        }
        Startup::LoadIniFiles();
        EXPECT_EQ(fs::exists(settings / "QuillonUser.ini"), !c.lacked);
        Startup::QuillonUserArray.set(1, "Key=Edited");
        Startup::QuillonAIArray.set(1, "Key=Edited");
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // a later modification time
        std::ofstream(settings / "QuillonUser.ini", std::ios::binary) << c.onDisk;
        std::vector<std::string> asked;
        if (c.answer)
            Startup::setChangedFilesQuestion([&](const std::vector<std::string>& names) {
                asked = names;
                return *c.answer;
            });
        try {
            Startup::SaveIniFiles();
            EXPECT_TRUE(c.written);
        } catch (const Startup::FilesChangedOnDisk& e) {
            EXPECT_FALSE(c.written);
            EXPECT_EQ(e.fileNames(), std::vector<std::string>{"QuillonUser.ini"});
        }
        Startup::setChangedFilesQuestion(nullptr);
        EXPECT_EQ(asked.empty(), !c.asked);
        if (c.asked) {
            EXPECT_EQ(asked, std::vector<std::string>{"QuillonUser.ini"});
        }
        EXPECT_EQ(TempDir::bytesOf(settings / "QuillonUser.ini"),
                  c.written ? "[File3]\r\nKey=Edited\r\n" : std::string(c.onDisk));
        EXPECT_EQ(TempDir::bytesOf(settings / "QuillonAI.ini"),
                  c.written ? "[File4]\r\nKey=Edited\r\n" : "[File4]\r\nKey=Value\r\n");
        fs::remove_all(dir.path() / "saved");
        Startup::SystemDir = dir.dir();
        Startup::GameSystemDir.clear();
        for (int i = 0; i < 5; ++i)
            dir.write(FileNames[i], "[File" + std::to_string(i + 1) + "]\r\nKey=Value\r\n");
    }
}

// Temporary and backup files of interrupted saves go at the next load and save, whatever process
// number they carry (a save under way would hold the folder's lock); nothing else does.
TEST_F(StartupTest, leftoversOfInterruptedSavesAreRemovedAndNothingElse) {
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string gone = std::to_string(dead);
    const std::string alive = std::to_string(::getppid());
    const std::vector<std::string> leftovers = {
        "QuillonUser.ini.quillon-new-" + gone + "-a1B2c3",
        "QuillonUser.ini.quillon-old-" + gone + "-a1B2c3",
        "QLLoadouts.ini.quillon-new-" + std::to_string(::getpid()) + "-Zz9999",
        "QuillonUser.ini.quillon-new-" + alive + "-a1B2c3", // its number now another program's
    };
    const std::vector<std::string> kept = {
        "QuillonUser.ini.mybackup",
        "QuillonUser.ini.quillon-new-" + gone + "-",
        "QuillonUser.ini.quillon-new-" + gone + "-a.b",
        "quillonuser.ini.quillon-new-" + gone + "-a1B2c3", // not the file's spelling
        "Other.ini.quillon-new-" + gone + "-a1B2c3",
    };
    for (const auto& doing : {"load", "save"}) {
        SCOPED_TRACE(doing);
        for (const auto& name : leftovers)
            dir.write(name, "x");
        for (const auto& name : kept)
            dir.write(name, "x");
        if (std::string(doing) == "load") {
            Startup::LoadIniFiles();
        } else {
            Startup::SaveIniFiles();
        }
        auto left = leftoverFiles();
        std::sort(left.begin(), left.end());
        auto expected = kept;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(left, expected);
    }
}

TEST_F(StartupTest, saveRefusingAnyOneFileChangesNoneAndLeavesNoTemporaryFile) {
    for (int refused = 0; refused < 5; ++refused) {
        SCOPED_TRACE(FileNames[refused]);
        Startup::LoadIniFiles();
        for (int i = 0; i < 5; ++i)
            array(i).set(1, "Key=New");
        const fs::path target = dir.path() / FileNames[refused];
        fs::permissions(target,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        try {
            Startup::SaveIniFiles();
            ADD_FAILURE() << "a read-only file should be refused";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path(), dir.dir() + FileNames[refused]);
            EXPECT_NE(e.reason().find("read-only"), std::string::npos) << e.reason();
        }
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(dir.read(FileNames[i]),
                      "[File" + std::to_string(i + 1) + "]\r\nKey=Value\r\n");
        EXPECT_TRUE(leftoverFiles().empty());
        fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST_F(StartupTest, saveIntoAFolderThatIsGoneFailsWithThePath) {
    Startup::LoadIniFiles();
    fs::remove_all(dir.path());
    try {
        Startup::SaveIniFiles();
        ADD_FAILURE() << "the save should fail";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir.dir() + "QLLoadouts.ini");
    }
    fs::create_directories(dir.path());
}

TEST_F(StartupTest, saveKeepsEachFilesPermissions) {
    Startup::LoadIniFiles();
    fs::permissions(dir.path() / "QuillonMod.ini", fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(dir.path() / "QLAux.ini", fs::perms::owner_read | fs::perms::owner_write |
                                                  fs::perms::group_read | fs::perms::others_read |
                                                  fs::perms::others_write);
    Startup::SaveIniFiles();
    EXPECT_EQ(fs::status(dir.path() / "QuillonMod.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(dir.path() / "QLAux.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read | fs::perms::others_write);
}

TEST_F(StartupTest, saveThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    TempDir elsewhere;
    elsewhere.write("real.ini", "[Real]\r\n");
    fs::remove(dir.path() / "QuillonUser.ini");
    fs::create_symlink(elsewhere.path() / "real.ini", dir.path() / "QuillonUser.ini");
    Startup::LoadIniFiles();
    Startup::QuillonUserArray.set(0, "[Edited]");
    Startup::SaveIniFiles();
    EXPECT_TRUE(fs::is_symlink(dir.path() / "QuillonUser.ini"));
    EXPECT_EQ(elsewhere.read("real.ini"), "[Edited]\r\n");
}

TEST_F(StartupTest, saveThroughALinkLoopFailsAndChangesNothing) {
    Startup::LoadIniFiles();
    Startup::QlLoadoutsArray.set(1, "Key=New");
    fs::remove(dir.path() / "QLAux.ini");
    fs::create_symlink("loop-b", dir.path() / "QLAux.ini");
    fs::create_symlink("QLAux.ini", dir.path() / "loop-b");
    try {
        Startup::SaveIniFiles();
        ADD_FAILURE() << "a link loop should fail";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir.dir() + "QLAux.ini");
        EXPECT_EQ(e.code(), std::errc::too_many_symbolic_link_levels);
    }
    EXPECT_EQ(dir.read("QLLoadouts.ini"), "[File1]\r\nKey=Value\r\n");
}

TEST_F(StartupTest, fileNamesAreFoundIgnoringCaseAndKeepTheirSpellingOnSave) {
    fs::rename(dir.path() / "QuillonMod.ini", dir.path() / "quillonmod.INI");
    Startup::LoadIniFiles();
    Startup::QuillonModArray.set(1, "Key=Lower");
    Startup::SaveIniFiles();
    EXPECT_EQ(dir.read("quillonmod.INI"), "[File2]\r\nKey=Lower\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "QuillonMod.ini"));
}

} // namespace
