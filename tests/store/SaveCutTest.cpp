// A save cut short at any of its steps (the process ended there, as by a crash) leaves the five
// files wholly old or wholly new once the next load has run, and nothing beside them; and the
// load checks what it finds before it writes.
#include "ChildProcess.h"
#include "FileVersions.h"
#include "TempDir.h"
#include "files/FileError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>

#ifndef _WIN32
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr int Lines = 200;

// Every step a save of version N over version O takes, in order.
std::vector<SaveStep> stepsOfASave() {
    TempDir dir;
    FileVersions::write(dir.path(), 'O', Lines);
    std::vector<SaveStep> steps;
    FileVersions::saveVersionN(dir.path(), Lines, [&steps](SaveStep step, const std::string&) {
        steps.push_back(step);
        return true;
    });
    return steps;
}

// The number, from 1, of the nth step of that kind.
std::size_t stepNumber(SaveStep kind, int nth) {
    const auto steps = stepsOfASave();
    std::size_t k = 0;
    while (k < steps.size() && (nth -= steps[k] == kind) > 0)
        ++k;
    return k + 1;
}

// The probe's save of a version over version O in the folder, cut on entering step k (with the
// probe's options); with hold=, the probe stays there until it is killed. SystemDir is the
// folder. The probe's exit status is checked against exit (-1 for a probe that stays).
std::unique_ptr<ChildProcess> cutSave(const TempDir& dir, const std::string& k,
                                      std::vector<std::string> options = {}, int exit = 3,
                                      bool overOld = true) {
    if (overOld)
        FileVersions::write(dir.path(), 'O', Lines);
    Startup::SystemDir = dir.dir();
    const fs::path held = dir.path() / "holding";
    const bool hold = std::ranges::find(options, "hold") != options.end();
    if (hold)
        std::ranges::replace(options, std::string("hold"), "hold=" + held.string());
    std::vector<std::string> args{dir.path().string(), std::to_string(Lines), k};
    args.insert(args.end(), options.begin(), options.end());
    auto probe = std::make_unique<ChildProcess>(siblingProgram("save_cut_probe"), args);
    if (!hold && exit >= 0) {
        EXPECT_EQ(probe->wait(), exit);
    }
    // A probe that stays has reached its step once it has made the file.
    std::error_code notYet;
    while (hold && !fs::remove(held, notYet))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return probe;
}

// The name in the folder that starts so; empty when there is none.
std::string nameStarting(const TempDir& dir, const std::string& start) {
    for (const auto& name : FileVersions::namesBeside(dir.path()))
        if (name.starts_with(start))
            return name;
    return {};
}

TEST(SaveCut, aSaveCutAtAnyStepIsWhollyOldOrWhollyNewAfterTheNextLoad) {
    const std::size_t steps = stepsOfASave().size();
    const std::size_t committedAt = stepNumber(SaveStep::Commit, 1);
    std::map<char, int> seen;
    for (std::size_t k = 1; k <= steps; ++k) {
        SCOPED_TRACE("cut at step " + std::to_string(k));
        TempDir dir;
        cutSave(dir, std::to_string(k));
        Startup::LoadIniFiles();
        const char held = FileVersions::held(dir.path(), Lines);
        EXPECT_EQ(held, k <= committedAt ? 'O' : 'N');
        EXPECT_EQ(FileVersions::namesBeside(dir.path()), std::vector<std::string>{});
        ++seen[held];
    }
    std::cout << steps << " cut points; after the next load " << seen['O'] << " wholly old, "
              << seen['N'] << " wholly new, " << seen['?'] << " mixed\n";
}

// What one run of the recovery table does between the cut and the load.
using Meanwhile = std::function<void(const TempDir& dir, ChildProcess& probe)>;

// The game (or any other program) writes a file: in place, or a new file renamed over it.
Meanwhile gameWrites(std::size_t file, bool throughARename) {
    return [=](const TempDir& dir, ChildProcess&) {
        const std::string name = Startup::settingsFiles()[file].fileName;
        const std::string bytes = FileVersions::contents(file, 'G', Lines);
        if (!throughARename)
            return dir.write(name, bytes);
        dir.write("game.tmp", bytes);
        fs::rename(dir.path() / "game.tmp", dir.path() / name);
    };
}

// A file of the cut save goes, as on a disk that lost it.
Meanwhile lose(const std::string& start) {
    return [=](const TempDir& dir, ChildProcess&) {
        fs::remove(dir.path() / nameStarting(dir, start));
    };
}

// The previous version of the program took away what the cut save left but its record, and a
// later save of it wrote every file again as it stood, after the record by the clock.
void laterSaveOverWhatWasLeft(const TempDir& dir, ChildProcess&) {
    const auto record = dir.path() / nameStarting(dir, "QLLoadouts.ini.quillon-commit-");
    for (const auto& name : FileVersions::namesBeside(dir.path()))
        if (name.find(".quillon-new-") != std::string::npos ||
            name.find(".quillon-old-") != std::string::npos)
            fs::remove(dir.path() / name);
    const auto later = fs::last_write_time(record) + std::chrono::seconds(2);
    for (const auto& file : Startup::settingsFiles()) {
        dir.write("later.tmp", dir.read(file.fileName));
        fs::rename(dir.path() / "later.tmp", dir.path() / file.fileName);
        fs::last_write_time(dir.path() / file.fileName, later);
    }
}

Meanwhile both(Meanwhile first, Meanwhile second) {
    return [=](const TempDir& dir, ChildProcess& probe) {
        first(dir, probe);
        second(dir, probe);
    };
}

// Saves cut after their commit, and what happened to them before the next load: the load takes
// the newest, checks every file before it writes, and tells what it left as it is. The save of
// version N over O is cut after renaming QLLoadouts.ini and QuillonMod.ini.
// The start of the name of QuillonUser.ini's temporary.
std::string temporary0() {
    return "QuillonUser.ini.quillon-new-";
}

// What a load said: whether it refused the files, and its refusal and notes.
struct Loaded {
    bool refused = false;
    std::string said;
};
using Load = std::function<Loaded()>;

#ifndef _WIN32
// Loads in a child process that first takes the part of another user, or sees the folder on a
// read-only disk (a mount of its own, gone with it). Nothing when it could not take that part.
using Part = std::function<bool(const TempDir& dir)>;
std::optional<Loaded> loadAs(const Part& part, const TempDir& dir, const Load& load) {
    const TempDir out;
    if (::fork() == 0) {
        std::ofstream told(out.path() / "told", std::ios::binary); // while it may still write
        if (part(dir)) {
            const Loaded loaded = load();
            told << (loaded.refused ? 'R' : 'L') << loaded.said;
        }
        told.close();
        ::_exit(0);
    }
    ::wait(nullptr);
    const std::string told = TempDir::bytesOf(out.path() / "told");
    if (told.empty())
        return std::nullopt;
    return Loaded{told[0] == 'R', told.substr(1)};
}

// A user who may read the folder, but not write in it (root's folder, 755).
bool anotherUser(const TempDir&) {
    return ::geteuid() == 0 && ::setgroups(0, nullptr) == 0 && ::setgid(4321) == 0 &&
           ::setuid(4321) == 0;
}

// The folder mounted read-only over itself, as a disk mounted read-only would show it.
bool readOnlyDisk(const TempDir& dir) {
    const std::string path = dir.path().string();
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}
#endif

TEST(SaveCut, aCutSaveIsFinishedUndoneOrLeftAsItsFilesAllow) {
    const std::string temporary = temporary0();                // of a file not yet replaced
    const std::string oldCopy = "QLLoadouts.ini.quillon-old-"; // of one already replaced
    const auto nothing = [](const TempDir&, ChildProcess&) {};
    struct Case {
        const char* what;
        std::vector<std::string> options = {}; // the probe's
        Meanwhile meanwhile;
        std::string held; // each file's version after the load: G the game's bytes
        std::string told; // in what the load tells (its refusal, or its notes); "" nothing told
        bool refused = false;
        bool namesKept = false;       // the cut save's files all stay beside the settings files
        int exit = 3;                 // the probe's
        std::size_t namesLeft = 0;    // else how many names of a save are left
        bool deletionAdvised = false; // the refusal says to delete the record
#ifndef _WIN32
        Part part = {}; // who loads, or what they see: this user, in this folder, by default
#endif
        std::string whenWritable = {}; // what a load by a user who may write leaves afterwards
    };
    std::vector<Case> cases = {
        {"nothing else", {}, nothing, "NNNNN", ""},
        {"a temporary lost", {}, lose(temporary), "OOOOO", ""},
        {"a file made read-only",
         {},
         [](const TempDir& dir, ChildProcess&) { dir.makeReadOnly("QuillonUser.ini"); },
         "OOOOO",
         ""},
        {"a temporary and an old copy lost",
         {},
         both(lose(temporary), lose(oldCopy)),
         "NNOOO",
         "QLLoadouts.ini holds its new contents, QuillonMod.ini holds its new contents, "
         "QuillonUser.ini holds its old",
         true,
         true,
         3,
         0,
         true},
        {"the record spoilt",
         {},
         [](const TempDir& dir, ChildProcess&) {
             const std::string record = nameStarting(dir, "QLLoadouts.ini.quillon-commit-");
             dir.write(record, dir.read(record) + "file QLAux.ini\n");
         },
         "NNOOO",
         "was not followed, as it is not whole",
         false,
         true},
        {"its process killed and not yet reaped",
         {"hold"},
         [](const TempDir&, ChildProcess& probe) { probe.kill(); },
         "NNNNN",
         ""},
        {"its process still saving",
         {"hold"},
         nothing,
         "NNOOO",
         "another program is saving these files",
         true,
         true,
         -1},
        {"a newer save cut short over it",
         {},
         [](const TempDir& dir, ChildProcess&) {
             cutSave(dir, "Rename:2", {"version=M"}, 3, false);
         },
         "MMMMM",
         "was older than another save cut short"},
        {"the game writing a file in place",
         {},
         gameWrites(2, false),
         "NNGNN",
         "QuillonUser.ini was left as it is"},
        {"the game writing through a rename, and a temporary lost",
         {},
         both(gameWrites(0, true), lose("QuillonAI.ini.quillon-new-")),
         "GOOOO",
         "QLLoadouts.ini was left as it is"},
        {"the previous version saving every file since",
         {},
         [](const TempDir& dir, ChildProcess& probe) {
             for (std::size_t f = 0; f < 5; ++f)
                 gameWrites(f, true)(dir, probe);
         },
         "GGGGG",
         "was overtaken by a later save of every file it names"},
        {"a later save of every file after what it left was taken away",
         {},
         laterSaveOverWhatWasLeft,
         "NNOOO",
         "was overtaken by a later save, which wrote every file it names after what the cut save "
         "left of them had gone; QLLoadouts.ini holds its new contents, QuillonMod.ini holds its "
         "new contents, QuillonUser.ini holds its old contents"},
        {"linking refused, the old files copied, and a temporary lost",
         {"refuse=KeepOld"},
         lose(temporary),
         "OOOOO",
         ""},
        {"a folder flush that fails",
         {"refuse=FlushFolder"},
         nothing,
         "OOOOO",
         "",
         false,
         false,
         2},
#ifndef _WIN32
        {"its process number taken by another program",
         {"linger"},
         [](const TempDir& dir, ChildProcess&) {
             while (nameStarting(dir, "QLLoadouts.ini.quillon-commit-").empty())
                 std::this_thread::sleep_for(std::chrono::milliseconds(10));
         },
         "NNNNN",
         "",
         false,
         false,
         -1},
        {"a temporary replaced by a link to a file elsewhere",
         {},
         [](const TempDir& dir, ChildProcess&) {
             const std::string name = nameStarting(dir, "QuillonUser.ini.quillon-new-");
             fs::rename(dir.path() / name, dir.path() / "elsewhere");
             fs::create_symlink(dir.path() / "elsewhere", dir.path() / name);
         },
         "OOOOO",
         "was not used for QuillonUser.ini, as it is not a plain file"},
        {.what = "the folder on a read-only disk",
         .meanwhile = nothing,
         .held = "NNOOO",
         .told = "can be finished only by a user who may write in @: Read-only file system",
         .refused = true,
         .namesKept = true,
         .part = readOnlyDisk,
         .whenWritable = "NNNNN"},
        {.what = "another user's folder, which this one may not write in",
         .meanwhile = nothing,
         .held = "NNOOO",
         .told = "can be finished only by a user who may write in @: Permission denied",
         .refused = true,
         .namesKept = true,
         .part = anotherUser,
         .whenWritable = "NNNNN"},
#endif
    };
#ifndef _WIN32
    // Another user's file needs the rights to give one away; elsewhere the case cannot be made.
    if (::geteuid() == 0)
        cases.push_back({"a temporary another user made",
                         {},
                         [](const TempDir& dir, ChildProcess&) {
                             const auto name = dir.path() / nameStarting(dir, temporary0());
                             ASSERT_EQ(::chown(name.c_str(), 4321, 4321), 0);
                         },
                         "OOOOO",
                         "belongs to another user",
                         false,
                         false,
                         3,
                         1});
    else
        std::cout << "not root: the case of another user's temporary is left out\n";
#endif
    std::vector<std::string> told;
    Startup::setRecoveryNotice([&told](const std::vector<std::string>& notes) {
        told.insert(told.end(), notes.begin(), notes.end());
    });
    const Load loadHere = [&told] {
        Loaded loaded;
        try {
            Startup::LoadIniFiles();
        } catch (const FileError& e) {
            loaded = {true, e.reason()};
        }
        for (const auto& note : told)
            loaded.said += note;
        return loaded;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        told.clear();
        const auto probe = cutSave(dir, "Rename:3", c.options, c.exit);
        c.meanwhile(dir, *probe);
        const auto before = FileVersions::namesBeside(dir.path());
        const std::string record = nameStarting(dir, "QLLoadouts.ini.quillon-commit-");
        Loaded loaded;
#ifndef _WIN32
        if (c.part) {
            const auto inPart = loadAs(c.part, dir, loadHere);
            if (!inPart) {
                std::cout << "not root, or no mounts allowed: the case of " << c.what
                          << " is left out\n";
                continue;
            }
            loaded = *inPart;
        } else
#endif
            loaded = loadHere();
        EXPECT_EQ(loaded.refused, c.refused) << loaded.said;
        EXPECT_EQ(FileVersions::versions(dir.path(), Lines), c.held);
        std::string expectedToBeTold = c.told;
        if (const auto at = expectedToBeTold.find('@'); at != std::string::npos)
            expectedToBeTold.replace(at, 1, dir.dir());
        if (c.told.empty())
            EXPECT_EQ(loaded.said, "");
        else
            EXPECT_NE(loaded.said.find(expectedToBeTold), std::string::npos) << loaded.said;
        // Deleting the record is the advice only where nobody can finish or undo the save.
        EXPECT_EQ(!record.empty() &&
                      loaded.said.find("delete " + dir.dir() + record) != std::string::npos,
                  c.deletionAdvised)
            << loaded.said;
        const auto after = FileVersions::namesBeside(dir.path());
        if (c.namesKept)
            EXPECT_EQ(after, before);
        else
            EXPECT_EQ(std::ranges::count_if(after,
                                            [](const std::string& name) {
                                                return name.find(".quillon-") != std::string::npos;
                                            }),
                      static_cast<std::ptrdiff_t>(c.namesLeft));
        // The advice holds: a user who may write in the folder finishes the save at once.
        if (!c.whenWritable.empty()) {
            EXPECT_FALSE(loadHere().refused);
            EXPECT_EQ(FileVersions::versions(dir.path(), Lines), c.whenWritable);
            EXPECT_EQ(FileVersions::namesBeside(dir.path()), std::vector<std::string>{});
        }
    }
    Startup::setRecoveryNotice({});
}

// A save cut after all its renames, one of whose files another program wrote since, is
// finished, not undone: neither the save nor that program's bytes are lost.
TEST(SaveCut, aFileWrittenAgainSinceACutSaveReplacedItKeepsTheSave) {
    TempDir dir;
    cutSave(dir, "FlushFolder:2");
    dir.write("QLAux.ini", "[Game]\r\n");
    Startup::LoadIniFiles();
    EXPECT_EQ(dir.read("QLLoadouts.ini"), FileVersions::contents(0, 'N', Lines));
    EXPECT_EQ(dir.read("QLAux.ini"), "[Game]\r\n");
    EXPECT_EQ(FileVersions::namesBeside(dir.path()), std::vector<std::string>{});
}

} // namespace
