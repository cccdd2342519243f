#include "store/Startup.h"

#include "files/FileError.h"
#include "files/FileIo.h"
#include "files/FolderLock.h"
#include "files/NewFiles.h"
#include "platform/NativePath.h"
#include "store/FileText.h"

#include <memory>
#include <optional>

namespace Startup {

std::string InstallFolder;
std::string SystemDir;
std::string GameSystemDir;
LineArray QlLoadoutsArray;
LineArray QuillonModArray;
LineArray QuillonUserArray;
LineArray QuillonAIArray;
LineArray QLAuxArray;
bool LoadoutsSaved = false;

namespace {

// What each settings file held when it was last loaded or saved, in file set order; nothing for
// a file not read yet. Kept with the arrays it belongs to.
struct Snapshots {
    std::array<std::optional<FileSnapshot>, 5> files;
    std::array<std::string, 5> paths; // the path each snapshot was taken of
    // For a file read from the folder the game runs from, the path in SystemDir that lacked it,
    // where the next save copies it first; empty for the others.
    std::array<std::string, 5> lacked;
};

Snapshots& snapshots() {
    static Snapshots kept;
    return kept;
}

std::function<void()>& loadoutsReadHook() {
    static std::function<void()> hook;
    return hook;
}

ChangedFilesQuestion& changedFilesQuestion() {
    static ChangedFilesQuestion question;
    return question;
}

GameRunningQuestion& gameRunningQuestion() {
    static GameRunningQuestion question;
    return question;
}

// The lock a FolderHold keeps, while there is one.
std::unique_ptr<FolderLock>& heldLock() {
    static std::unique_ptr<FolderLock> held;
    return held;
}

RecoveryNotice& recoveryNotice() {
    static RecoveryNotice notice;
    return notice;
}

// Tells the user what the recovery of a cut save did that they should know of, once the folder's
// lock is let go (the windows show it in a message box), whether or not what followed succeeded.
class NoticeOnLeaving {
public:
    ~NoticeOnLeaving() {
        try {
            if (!notes.empty() && recoveryNotice())
                recoveryNotice()(notes);
        } catch (...) {
            // Telling is all it does: a failure to tell changes nothing on disk.
        }
    }
    std::vector<std::string> notes;
};

std::vector<std::string> settingsFilePaths() {
    std::vector<std::string> paths;
    for (const auto& file : settingsFiles())
        paths.push_back(settingsFilePath(file.fileName));
    return paths;
}

// The settings files in the folder the game runs from, when that is not SystemDir.
std::vector<std::string> gameFilePaths() {
    std::vector<std::string> paths;
    if (!GameSystemDir.empty())
        for (const auto& file : settingsFiles())
            paths.push_back(NativePath::resolve(GameSystemDir + file.fileName));
    return paths;
}

// What loads and saves lock: the settings files, and those the game runs from, which a load may
// read and a save copy.
std::vector<std::string> lockedPaths(std::vector<std::string> paths,
                                     const std::vector<std::string>& game) {
    paths.insert(paths.end(), game.begin(), game.end());
    return paths;
}

LineArray linesOf(const std::string& path, std::shared_ptr<const ByteBlock> bytes) {
    LineArray lines = FileText::textLines(path, std::move(bytes), MaxLinesPerFile);
    if (lines.size() > MaxLinesPerFile + 1)
        throw FileError(path, std::make_error_code(std::errc::file_too_large),
                        "the file has more than " + std::to_string(MaxLinesPerFile) +
                            " lines, the most that can be edited");
    return lines;
}

// Whether file i's array joins to exactly the bytes that path held when last loaded or saved:
// compared with the bytes it was read as, or by the hash of those last written to it.
bool joinsToLastSeen(std::size_t i, const std::string& path) {
    const auto& snapshot = snapshots().files[i];
    if (!snapshot || snapshots().paths[i] != path)
        return false;
    const LineArray& lines = *settingsFiles()[i].lines;
    return snapshot->bytesRead ? lines.joinsTo(snapshot->bytesRead->view())
                               : joinedSize(lines) == snapshot->size &&
                                     hashOf(joinLines(lines)) == snapshot->hashWritten;
}

// Refuses a line that would reach the file as two: every line must be one line.
void refuseLineBreaks(const SettingsFile& file, const std::string& path) {
    const LineArray& lines = *file.lines;
    if (const std::size_t i = lines.firstLineHoldingABreak(); i + 1 < lines.size())
        throw FileError(path, std::make_error_code(std::errc::invalid_argument),
                        "line " + std::to_string(i + 1) + " of " + file.fileName +
                            " holds a line break, which would split it in two");
}

} // namespace

FilesChangedOnDisk::FilesChangedOnDisk(std::vector<std::string> fileNames,
                                       std::vector<std::string> paths)
    : SaveDeclined([&fileNames] {
          std::string text = "changed by another program since it was loaded:";
          for (const auto& name : fileNames)
              text += " " + name;
          return text;
      }()),
      fileNames_(std::move(fileNames)), paths_(std::move(paths)) {}

GameRunning::GameRunning(GameProcess::Running game)
    : SaveDeclined(game.program + " (process " + std::to_string(game.id) +
                   ") is running from the System folder"),
      game_(std::move(game)) {}

const std::array<SettingsFile, 5>& settingsFiles() {
    static const std::array<SettingsFile, 5> files{{
        {"QLLoadouts.ini", "QlLoadoutsArray", &QlLoadoutsArray},
        {"QuillonMod.ini", "QuillonModArray", &QuillonModArray},
        {"QuillonUser.ini", "QuillonUserArray", &QuillonUserArray},
        {"QuillonAI.ini", "QuillonAIArray", &QuillonAIArray},
        {"QLAux.ini", "QLAuxArray", &QLAuxArray},
    }};
    return files;
}

std::string settingsFilePath(const char* fileName) {
    return NativePath::resolve(SystemDir + fileName);
}

void LoadIniFiles() {
    const std::vector<std::string> paths = settingsFilePaths();
    const std::vector<std::string> game = gameFilePaths();
    NoticeOnLeaving notice;
    // Read while no save of the files runs; a save cut short is first finished or undone, which
    // takes the lock alone.
    std::optional<FolderLock> own;
    FolderLock& lock =
        heldLock() ? *heldLock() : own.emplace(lockedPaths(paths, game), FolderLock::Mode::Shared);
    // A load that finds nothing to recover or tidy writes nothing.
    if (saveLeftoversBeside(paths) || lock.leftLockFile()) {
        lock.makeExclusive(); // which takes a left lock file away
        notice.notes = recoverCutSaves(lock, paths);
    }

    // A file that SystemDir lacks, while the game runs from another folder, is read where the
    // game reads it, there; the first save copies it into SystemDir, so that a load writes
    // nothing.
    std::vector<std::string> read = paths;
    Snapshots loaded;
    for (std::size_t i = 0; i < game.size(); ++i)
        if (!stampOf(paths[i]) && stampOf(game[i])) {
            loaded.lacked[i] = paths[i];
            read[i] = game[i];
        }
    // All five files are read before any array is replaced: a load that fails changes nothing.
    FileArena arena = FileArena::forFiles(read);
    std::array<LineArray, 5> lines;
    for (std::size_t i = 0; i < read.size(); ++i) {
        FileContents contents = readFile(read[i], &arena);
        lines[i] = linesOf(read[i], contents.bytes);
        loaded.files[i] = contents.snapshot;
        loaded.paths[i] = read[i];
    }
    for (std::size_t i = 0; i < paths.size(); ++i)
        *settingsFiles()[i].lines = std::move(lines[i]);
    snapshots() = std::move(loaded);
    LoadoutsSaved = true;
    if (loadoutsReadHook())
        loadoutsReadHook()();
}

void SaveIniFiles(Rewrite rewrite) {
    const auto& files = settingsFiles();
    const std::vector<std::string> paths = settingsFilePaths();
    for (std::size_t i = 0; i < files.size(); ++i)
        refuseLineBreaks(files[i], paths[i]);
    NoticeOnLeaving notice;
    // The whole save, questions included, holds the folder's lock alone: nothing another copy of
    // the program writes can slip in between what is checked here and what is written.
    std::optional<FolderLock> own;
    FolderLock& lock =
        heldLock() ? *heldLock()
                   : own.emplace(lockedPaths(paths, gameFilePaths()), FolderLock::Mode::Exclusive);
    // A save another program's crash cut short is finished first, so that it can neither land
    // on top of this one later nor go unseen by the question below.
    notice.notes = recoverCutSaves(lock, paths);
    // Which files still hold what they held when last loaded or saved; the others, when known,
    // were written by another program since.
    std::vector<bool> asLastSeen(files.size());
    std::vector<std::string> changedNames;
    std::vector<std::string> changedPaths;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto& snapshot = snapshots().files[i];
        // A file read from the folder the game runs from is compared with the copy that the game
        // made in SystemDir since, if it has made one, else with the file it was read from.
        const bool lacked = snapshots().lacked[i] == paths[i];
        if (!snapshot || (snapshots().paths[i] != paths[i] && !lacked))
            continue;
        asLastSeen[i] = !changedSince(
            lacked && !stampOf(paths[i]) ? snapshots().paths[i] : paths[i], *snapshot);
        if (!asLastSeen[i]) {
            changedNames.emplace_back(files[i].fileName);
            changedPaths.push_back(paths[i]);
        }
    }
    if (!changedNames.empty() && !(changedFilesQuestion() && changedFilesQuestion()(changedNames)))
        throw FilesChangedOnDisk(std::move(changedNames), std::move(changedPaths));
    if (auto game = GameProcess::runningFrom(NativePath::resolve(SystemDir));
        game && !(gameRunningQuestion() && gameRunningQuestion()(*game)))
        throw GameRunning(std::move(*game));

    // The files SystemDir lacked when they were loaded go there first, whole and as they are in
    // the folder the game runs from (a file the game made there since stays as it is), as the game
    // itself copies them when it saves.
    for (std::size_t i = 0; i < files.size(); ++i)
        if (snapshots().lacked[i] == paths[i]) {
            copyToFreeName(snapshots().paths[i], paths[i]);
            snapshots().paths[i] = paths[i];
            snapshots().lacked[i].clear();
        }

    // Which files are written. A file's contents are made again when it is written, rather than
    // kept, so that no more than one file's contents are held at a time.
    std::vector<std::size_t> written;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!(rewrite == Rewrite::ChangedFiles && asLastSeen[i] && joinsToLastSeen(i, paths[i])))
            written.push_back(i);

    std::vector<std::string> writtenPaths;
    for (const std::size_t i : written)
        writtenPaths.push_back(paths[i]);
    const auto hashes = replaceFiles(lock, writtenPaths, [&](std::size_t k) {
        const LineArray& lines = *files[written[k]].lines;
        ByteBlock bytes = blockForBytes(joinedSize(lines));
        joinLinesInto(lines, bytes.data());
        return bytes;
    });
    for (std::size_t k = 0; k < written.size(); ++k) {
        snapshots().files[written[k]] = snapshotAfterWrite(paths[written[k]], hashes[k]);
        snapshots().paths[written[k]] = paths[written[k]];
    }
}

std::vector<std::string> filesToRewrite() {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < settingsFiles().size(); ++i)
        if (!joinsToLastSeen(i, settingsFilePath(settingsFiles()[i].fileName)))
            names.emplace_back(settingsFiles()[i].fileName);
    return names;
}

void setLoadoutsReadHook(std::function<void()> hook) {
    loadoutsReadHook() = std::move(hook);
}

void setChangedFilesQuestion(ChangedFilesQuestion question) {
    changedFilesQuestion() = std::move(question);
}

void setGameRunningQuestion(GameRunningQuestion question) {
    gameRunningQuestion() = std::move(question);
}

FolderHold::FolderHold() {
    heldLock() = std::make_unique<FolderLock>(lockedPaths(settingsFilePaths(), gameFilePaths()),
                                              FolderLock::Mode::Exclusive);
}

FolderHold::~FolderHold() {
    heldLock().reset();
}

void setRecoveryNotice(RecoveryNotice notice) {
    recoveryNotice() = std::move(notice);
}

} // namespace Startup
