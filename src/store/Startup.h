#pragma once

#include "platform/Error.h"
#include "platform/GameProcess.h"
#include "store/LineArray.h"

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// The five settings files of the modification, held in memory for the whole run, and the
// operations that load and save them all together.
namespace Startup {

// The game's install folder as the registry gives it; empty when it cannot be read.
extern std::string InstallFolder;
// The game's System folder, always ending in a separator; every settings file path is this
// followed directly by the file name.
extern std::string SystemDir;
// The System folder the game itself runs from, when the search settled on another folder for
// its settings (the native game's preference folder, a VirtualStore folder); empty when it is
// SystemDir. What the game is (the community patch or not) is told by its files there.
extern std::string GameSystemDir;

extern LineArray QlLoadoutsArray;
extern LineArray QuillonModArray;
extern LineArray QuillonUserArray;
extern LineArray QuillonAIArray;
extern LineArray QLAuxArray;

// True while the loadouts window holds no unsaved edits.
extern bool LoadoutsSaved;

struct SettingsFile {
    const char* fileName;
    const char* selector; // the array's own name, by which key lookups name it
    LineArray* lines;
};

// The file set in its fixed order: QLLoadouts.ini, QuillonMod.ini, QuillonUser.ini,
// QuillonAI.ini, QLAux.ini.
const std::array<SettingsFile, 5>& settingsFiles();

// Replaces all five arrays from the files in SystemDir and remembers what each file held; then
// sets LoadoutsSaved and runs the loadouts hook. The files are read under their folder's lock,
// shared with other loads, so that no save of them runs meanwhile. First finishes (or undoes) any
// save of the files that a crash cut short, and removes what interrupted saves left beside them
// (recoverCutSaves); what the user should know of that goes to the recovery notice. All or
// nothing: throws FileError at the first file that cannot be read, is not a plain file, is not
// whole text (see FileText::textLines) or is too long, or when a cut save can be neither finished
// nor undone; FolderBusy when another program is saving the files and does not finish within
// FolderLock::Patience. Then every array, and LoadoutsSaved, stays as it was.
void LoadIniFiles();

// Told, after a load or a save, what the recovery of saves cut short did that the user should know
// of: a file left as it is because another program wrote it since, a commit record not followed,
// a save that no longer applied and was removed. Each text says what to do.
using RecoveryNotice = std::function<void(const std::vector<std::string>& notes)>;
void setRecoveryNotice(RecoveryNotice notice);

// A save that was asked a question and told not to go ahead. Nothing has been written.
class SaveDeclined : public Error {
public:
    using Error::Error;
};

// A save found files that another program has written since they were loaded or last saved, and
// they were not to be replaced. Nothing has been written.
class FilesChangedOnDisk : public SaveDeclined {
public:
    FilesChangedOnDisk(std::vector<std::string> fileNames, std::vector<std::string> paths);
    // The settings files' names ("QuillonUser.ini") and their native paths, in file set order.
    const std::vector<std::string>& fileNames() const noexcept { return fileNames_; }
    const std::vector<std::string>& paths() const noexcept { return paths_; }

private:
    std::vector<std::string> fileNames_;
    std::vector<std::string> paths_;
};

// Asked by a save that found files changed on disk since they were loaded or last saved, with
// their names in file set order: true replaces them with the arrays' lines, false writes nothing.
using ChangedFilesQuestion = std::function<bool(const std::vector<std::string>& fileNames)>;
void setChangedFilesQuestion(ChangedFilesQuestion question);

// A save found the game running from the System folder, and was not to go ahead while it runs.
// Nothing has been written.
class GameRunning : public SaveDeclined {
public:
    explicit GameRunning(GameProcess::Running game);
    const GameProcess::Running& game() const noexcept { return game_; }

private:
    GameProcess::Running game_;
};

// Asked by a save that found the game running from the System folder in use (it reads the
// settings only when it starts and may write its own over them when it closes): true saves
// anyway, false writes nothing.
using GameRunningQuestion = std::function<bool(const GameProcess::Running& game)>;
void setGameRunningQuestion(GameRunningQuestion question);

// Writes all five arrays back to their files, every line ending in CR LF: all or nothing.
// Before anything is written:
// - a line holding CR or LF (a value that would split into two lines) is refused with a
//   FileError naming the file and the line;
// - files changed on disk since they were loaded or last saved are put to the changed-files
//   question; without one, or when it answers no, FilesChangedOnDisk is thrown;
// - then, when the game runs from the System folder, the game-running question is asked;
//   without one, or when it answers no, GameRunning is thrown.
// Throws FileError naming the file that could not be written; then no file has changed.
// The whole save, the questions included, holds the folder's lock alone: FolderBusy when another
// program holds it past FolderLock::Patience. First finishes (or undoes) a save of the files that a
// crash cut short, as a load does, and removes what interrupted saves left beside the files.
//
// Every file is rewritten, as the windows do; with ChangedFiles, a file whose bytes would stay
// exactly as they are on disk is left alone (the command line saves that way, so that setting
// one option costs one file's writing).
enum class Rewrite { AllFiles, ChangedFiles };
void SaveIniFiles(Rewrite rewrite = Rewrite::AllFiles);

// Holds the lock of the settings files' folder alone from a load to the save that follows it, for
// a program that reads, changes and writes the files in one go (quillon-settings set): another
// copy then waits for it instead of finding the files changed under it. LoadIniFiles and
// SaveIniFiles use the lock held. SystemDir must name the folder first; throws FolderBusy as a
// save does.
class FolderHold {
public:
    FolderHold();
    ~FolderHold();
    FolderHold(const FolderHold&) = delete;
    FolderHold& operator=(const FolderHold&) = delete;
};

// The names of the files, in file set order, whose arrays no longer join to the bytes the file
// held when last loaded or saved: the files a save with Rewrite::ChangedFiles writes, unless
// another program writes one in the meantime. Asks nothing and writes nothing, so that a
// command can tell what a save would change without saving.
std::vector<std::string> filesToRewrite();

// Runs at the end of every load that succeeded, once all five arrays hold the new files; the
// windows use it to put the loadouts window into its saved state.
void setLoadoutsReadHook(std::function<void()> hook);

// The native path of one settings file: SystemDir and the name, resolved for this platform.
std::string settingsFilePath(const char* fileName);

} // namespace Startup
