// A save cut short at any of its steps (the process ended there, as by a crash) leaves the five
// files wholly old or wholly new once the next load has run, and nothing beside them.
#include "ChildProcess.h"
#include "FileVersions.h"
#include "TempDir.h"
#include "files/FileError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <map>
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

// The probe's save of version N over version O in the folder, cut on entering step k; with hold,
// the probe stays there until it is killed. SystemDir is the folder.
std::unique_ptr<ChildProcess> cutSave(const TempDir& dir, std::size_t k, bool hold = false) {
    FileVersions::write(dir.path(), 'O', Lines);
    Startup::SystemDir = dir.dir();
    const fs::path held = dir.path() / "holding";
    std::vector<std::string> args{dir.path().string(), std::to_string(Lines), std::to_string(k)};
    if (hold)
        args.push_back(held.string());
    auto probe = std::make_unique<ChildProcess>(siblingProgram("save_cut_probe"), args);
    if (!hold) {
        EXPECT_EQ(probe->wait(), 3);
    }
    std::error_code notYet;
    while (hold && !fs::remove(held, notYet))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return probe;
}

TEST(SaveCut, aSaveCutAtAnyStepIsWhollyOldOrWhollyNewAfterTheNextLoad) {
    const std::size_t steps = stepsOfASave().size();
    const std::size_t committedAt = stepNumber(SaveStep::Commit, 1);
    std::map<char, int> seen;
    for (std::size_t k = 1; k <= steps; ++k) {
        SCOPED_TRACE("cut at step " + std::to_string(k));
        TempDir dir;
        cutSave(dir, k);
        Startup::LoadIniFiles();
        const char held = FileVersions::held(dir.path(), Lines);
        EXPECT_EQ(held, k <= committedAt ? 'O' : 'N');
        EXPECT_EQ(FileVersions::namesBeside(dir.path()), std::vector<std::string>{});
        ++seen[held];
    }
    std::cout << steps << " cut points; after the next load " << seen['O'] << " wholly old, "
              << seen['N'] << " wholly new, " << seen['?'] << " mixed\n";
}

// A save cut after its commit and two renames, and its files changed before the next load.
TEST(SaveCut, aCutSaveIsFinishedUndoneOrLeftAsItsFilesAllow) {
    const std::string temporary = "QuillonUser.ini.quillon-new-"; // of a file not yet replaced
    const std::string oldCopy = "QLLoadouts.ini.quillon-old-";    // of one already replaced
    const struct {
        const char* what;
        std::vector<std::string> lost; // files of the save that go before the load
        bool readOnly;  // QuillonUser.ini, not yet replaced, made read-only before the load
        bool spoilt;    // the commit record changed before the load
        bool ownerRuns; // the saving process still there at the load
        char held;      // what the five files hold after the load; '?' as the cut left them
        bool refused;   // the load fails, naming the files
    } cases[] = {
        {"none", {}, false, false, false, 'N', false},
        {"a temporary lost", {temporary}, false, false, false, 'O', false},
        {"a file made read-only", {}, true, false, false, 'O', false},
        {"a temporary and an old copy lost", {temporary, oldCopy}, false, false, false, '?', true},
        {"the record spoilt", {}, false, true, false, '?', false},
        {"the saving process still running", {}, false, false, true, '?', false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto probe = cutSave(dir, stepNumber(SaveStep::Rename, 3), c.ownerRuns);
        for (const auto& name : FileVersions::namesBeside(dir.path())) {
            if (std::ranges::any_of(c.lost,
                                    [&](const auto& start) { return name.starts_with(start); }))
                fs::remove(dir.path() / name);
            if (c.spoilt && name.find(".quillon-commit-") != std::string::npos)
                dir.write(name, dir.read(name) + "file QLAux.ini\n");
        }
        if (c.readOnly)
            dir.makeReadOnly("QuillonUser.ini");
        const auto before = FileVersions::namesBeside(dir.path());
        try {
            Startup::LoadIniFiles();
            EXPECT_FALSE(c.refused);
        } catch (const FileError& e) {
            EXPECT_TRUE(c.refused) << e.what();
            EXPECT_EQ(e.path(), dir.dir() + "QLLoadouts.ini");
            EXPECT_NE(e.reason().find("QLLoadouts.ini holds its new contents, QuillonMod.ini "
                                      "holds its new contents, QuillonUser.ini holds its old"),
                      std::string::npos)
                << e.reason();
        }
        EXPECT_EQ(FileVersions::held(dir.path(), Lines), c.held);
        EXPECT_EQ(FileVersions::namesBeside(dir.path()),
                  c.held == '?' ? before : std::vector<std::string>{});
        if (c.ownerRuns) { // once it has gone, its save is finished
            probe->kill();
            probe->wait();
            Startup::LoadIniFiles();
            EXPECT_EQ(FileVersions::held(dir.path(), Lines), 'N');
        }
    }
}

// A save cut after all its renames, one of whose files another program wrote since, is
// finished, not undone: neither the save nor that program's bytes are lost.
TEST(SaveCut, aFileWrittenAgainSinceACutSaveReplacedItKeepsTheSave) {
    TempDir dir;
    cutSave(dir, stepNumber(SaveStep::FlushFolder, 2));
    dir.write("QLAux.ini", "[Game]\r\n");
    Startup::LoadIniFiles();
    EXPECT_EQ(dir.read("QLLoadouts.ini"), FileVersions::contents(0, 'N', Lines));
    EXPECT_EQ(dir.read("QLAux.ini"), "[Game]\r\n");
    EXPECT_EQ(FileVersions::namesBeside(dir.path()), std::vector<std::string>{});
}

} // namespace
