#pragma once

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
// sets LoadoutsSaved and runs the loadouts hook. First finishes (or undoes) any save of the files
// that a crash cut short, and removes what interrupted saves left beside them. All or nothing:
// throws FileError at the first file that cannot be read, is not a plain file, is not whole text
// (see FileText::textLines) or is too long, or when a cut save can be neither finished nor undone,
// and then every array, and LoadoutsSaved, stays as it was.
void LoadIniFiles();

// A save that was asked a question and told not to go ahead. Nothing has been written.
class SaveDeclined : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
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
// First finishes (or undoes) a save of the files that a crash cut short, as a load does, and
// removes what interrupted saves left beside the files.
//
// Every file is rewritten, as the windows do; with ChangedFiles, a file whose bytes would stay
// exactly as they are on disk is left alone (the command line saves that way, so that setting
// one option costs one file's writing).
enum class Rewrite { AllFiles, ChangedFiles };
void SaveIniFiles(Rewrite rewrite = Rewrite::AllFiles);

// Runs at the end of every load that succeeded, once all five arrays hold the new files; the
// windows use it to put the loadouts window into its saved state.
void setLoadoutsReadHook(std::function<void()> hook);

// The native path of one settings file: SystemDir and the name, resolved for this platform.
std::string settingsFilePath(const char* fileName);

} // namespace Startup
