// An all-or-nothing save of several files, that a crash or a power loss cannot leave half done.
//
// The order of its steps, and why:
// 1. Each new file is written beside its target and flushed to the disk. A save cut short here
//    has changed nothing; the next load or save removes what it left.
// 2. The old files get second names (where the file system has no hard links, and on Windows,
//    flushed copies), so that the save can still be undone. A save that cannot keep an old file
//    goes no further.
// 3. The commit record, naming every file of the save with the size and hash of its old and new
//    contents, is written under a temporary name, flushed, renamed to its own name, and the
//    folders are flushed. Only a whole record ever bears a record's name. Once that folder flush
//    has returned, every new file's name is on disk with the record, and from here on the save is
//    to be finished. Before it returns, a file system that reorders name operations may put the
//    record's name on disk ahead of some new file's name (or of an old copy's): the recovery
//    never trusts a name for being in the record, but checks each file's size and hash first, and
//    undoes or tidies what it cannot finish. A flush that fails up to here fails the save, and
//    nothing has been replaced.
// 4. The new files are renamed over the old ones, and the folders flushed, so that the renames
//    are on disk before anything that made them undoable goes.
// 5. The record is removed, then the old copies. A record left by a cut here, or whose removal
//    did not reach the disk, names files already in place: the next load sees that by their size
//    and hash and only tidies up.
// A cut after step 3 is finished at the next load (recoverCutSaves), or, when it cannot be (a
// temporary lost, a file made read-only since), undone from the old copies.
// The whole save runs under the folders' lock, held alone: no other program loads, saves or
// recovers these files meanwhile, and a save whose lock is not held is over.
// On Windows the flushes are FlushFileBuffers, and every rename is a MoveFileExW written
// through (MOVEFILE_WRITE_THROUGH), which returns once it is on disk.
#include "files/FileIo.h"

#include "files/CommitRecord.h"
#include "files/FileError.h"
#include "files/FileIoSteps.h"
#include "files/FolderLock.h"

#include <set>
#include <stdexcept>

using namespace FileIoSteps;

namespace {

// The steps of one save, each put to the hook first.
class Steps {
public:
    explicit Steps(const SaveStepHook& hook) : hook_(hook) {}

    bool allows(SaveStep step, const std::string& path) const {
        return !hook_ || hook_(step, path);
    }
    // Throws the error a refused step fails with.
    void take(SaveStep step, const std::string& path) const {
        if (!allows(step, path))
            throw FileError(path, std::make_error_code(std::errc::io_error));
    }
    // A new file of these bytes under prefix (or named prefix itself), flushed; its name is
    // handed to named as soon as it exists, so that a failure after that still finds it.
    void writeNew(const std::string& prefix, const std::string& model, std::string_view bytes,
                  std::string& named, bool exactName = false) const {
        take(SaveStep::Create, prefix);
        NewFile file(prefix, model, exactName);
        named = file.name();
        take(SaveStep::Write, named);
        file.write(bytes);
        take(SaveStep::Flush, named);
        file.flush();
        file.close();
    }
    void rename(const std::string& from, const std::string& to) const {
        take(SaveStep::Rename, from);
        renameFile(from, to);
    }
    bool remove(const std::string& path) const {
        return allows(SaveStep::Remove, path) && removeFile(path);
    }
    void flushFolders(const std::vector<PendingFile>& files, const std::string& record) const {
        std::set<std::string> folders{folderOf(record)};
        for (const auto& file : files)
            folders.insert(folderOf(file.target));
        for (const auto& folder : folders) {
            take(SaveStep::FlushFolder, folder);
            flushFolder(folder);
        }
    }

private:
    const SaveStepHook& hook_;
};

// Refuses a read-only target, then writes the new contents beside it.
void writeTemporary(const Steps& steps, PendingFile& file, std::string_view bytes) {
    refuseUnwritable(file.requested, file.target);
    try {
        steps.writeNew(temporaryNamePrefix(file.target), file.target, bytes, file.temporary);
    } catch (const FileError& e) {
        if (!file.temporary.empty())
            throw FileError(file.requested, e.code());
        throw FileError(file.requested, e.code(),
                        "cannot create a temporary file in " + folderOf(file.target) + ": " +
                            e.code().message());
    }
}

// Keeps the old file under its backup name, and notes its size and hash for the record: a second
// name where the file system gives a file two, else a flushed copy. Throws FileError naming the
// settings file when neither can be made: the save then goes no further.
void keepOld(const Steps& steps, PendingFile& file) {
    const std::string backup = withMark(file.temporary, OldMark);
    try {
        FileStamp stamp;
        const ByteBlock old = readPlainFile(file.target, MaxFileBytes, stamp);
        file.oldSize = old.size();
        file.oldHash = hashOf(old.view());
        if (steps.allows(SaveStep::KeepOld, file.target) && secondName(file.target, backup))
            file.backup = backup;
        else
            steps.writeNew(backup, file.target, old.view(), file.backup, true);
    } catch (const FileError& e) {
        throw FileError(file.requested, e.code(),
                        "cannot keep the old file beside it while the new one goes in (" +
                            e.path() + ": " + e.reason() + "), so nothing was replaced");
    }
}

void removeTemporaries(const Steps& steps, const std::vector<PendingFile>& files) {
    for (const auto& file : files) {
        if (!file.temporary.empty())
            steps.remove(file.temporary);
        if (!file.backup.empty())
            steps.remove(file.backup);
    }
}

// Writes the commit record beside the first file and flushes it and the folders; returns its
// name. Throws FileError naming the first file, with the record removed again.
std::string commit(const Steps& steps, const std::vector<PendingFile>& files) {
    std::vector<CommitEntry> entries;
    for (const auto& file : files)
        entries.push_back({nameOf(file.requested), nameOf(file.target), nameOf(file.temporary),
                           nameOf(file.backup), file.oldSize, file.oldHash, true, file.size,
                           file.hash});
    const std::string& first = files.front().requested;
    const auto failed = [&first](const FileError& e) {
        return FileError(first, e.code(),
                         "cannot write the save's commit record beside it: " + e.code().message());
    };
    // Named and owned as the first file is, so that the next load knows it for one of its own.
    std::string unnamed;
    try {
        steps.writeNew(temporaryNamePrefix(first), files.front().target, commitRecordText(entries),
                       unnamed);
    } catch (const FileError& e) {
        if (!unnamed.empty())
            steps.remove(unnamed);
        throw failed(e);
    }
    const std::string record = withMark(unnamed, CommitMark);
    try {
        steps.take(SaveStep::Commit, unnamed);
        renameFile(unnamed, record);
    } catch (const FileError& e) {
        steps.remove(unnamed);
        throw failed(e);
    }
    try {
        steps.flushFolders(files, record);
    } catch (const FileError& e) {
        steps.remove(record);
        throw FileError(first, e.code(),
                        "the folder " + e.path() + " could not be flushed to the disk (" +
                            e.reason() + "), so nothing was replaced");
    }
    return record;
}

// After the rename of file failed, puts files 0 to failed - 1 back as they were before the save;
// returns those that could not be.
std::string putBack(const Steps& steps, std::vector<PendingFile>& files, std::size_t failed) {
    std::string unrestored;
    auto note = [&unrestored](const std::string& what) {
        unrestored += (unrestored.empty() ? "" : ", ") + what;
    };
    for (std::size_t j = 0; j < failed; ++j) {
        PendingFile& file = files[j];
        file.temporary.clear(); // already moved into place
        try {
            if (!file.backup.empty())
                steps.rename(file.backup, file.target);
            else if (!file.existed && !steps.remove(file.target))
                note(file.requested);
            file.backup.clear();
        } catch (const FileError&) {
            note(file.requested);
        }
    }
    PendingFile& file = files[failed];
    if (file.existed && !exists(file.target)) {
        // The old file went and the new one did not come: its old copy goes back, or failing
        // that the new contents stay where they are.
        try {
            steps.rename(file.backup, file.target);
            file.backup.clear();
        } catch (const FileError&) {
            note(file.requested + " (its new contents are in " + file.temporary + ")");
            file.temporary.clear();
        }
    }
    return unrestored;
}

} // namespace

std::vector<std::uint64_t> replaceFiles(const FolderLock& lock, std::span<const std::string> paths,
                                        const std::function<ByteBlock(std::size_t)>& bytesOf,
                                        const SaveStepHook& hook) {
    if (lock.mode() != FolderLock::Mode::Exclusive)
        throw std::logic_error("a save must hold its folders' lock alone");
    const Steps steps(hook);
    std::vector<PendingFile> files;
    files.reserve(paths.size());
    std::vector<std::uint64_t> hashes;
    std::string record;
    try {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            PendingFile file;
            file.requested = paths[i];
            file.target = targetOf(paths[i]);
            file.existed = exists(file.target);
            files.push_back(std::move(file));
            const ByteBlock bytes = bytesOf(i);
            files.back().size = bytes.size();
            files.back().hash = hashOf(bytes.view());
            hashes.push_back(files.back().hash);
            writeTemporary(steps, files.back(), bytes.view());
        }
        if (files.empty())
            return hashes;
        // Each old file stays reachable until every new one is in place, so that a failure part
        // way through, or the next load after a crash, can put back the ones already replaced.
        for (auto& file : files)
            if (file.existed)
                keepOld(steps, file);
        record = commit(steps, files);
    } catch (...) {
        removeTemporaries(steps, files);
        throw;
    }

    for (std::size_t i = 0; i < files.size(); ++i) {
        try {
            steps.rename(files[i].temporary, files[i].target);
            continue;
        } catch (const FileError& e) {
            const std::string unrestored = putBack(steps, files, i);
            if (unrestored.empty()) {
                try {
                    steps.flushFolders(files, record);
                    steps.remove(record);
                } catch (const FileError&) {
                    // The record stays: the next load finds every file as it was, and tidies up.
                }
                removeTemporaries(steps, files);
                throw FileError(files[i].requested, e.code());
            }
            // The record stays, with every file it names: the next load finishes the save, or
            // puts the old files back.
            throw FileError(files[i].requested, e.code(),
                            e.code().message() +
                                "; these files could not be put back as they were: " + unrestored +
                                "; the next load finishes the save or puts them back");
        }
    }
    try {
        steps.flushFolders(files, record);
    } catch (const FileError&) {
        // Every file is in place, but the disk may not have all the renames yet: the record and
        // the old copies stay for the next load, which checks the files and tidies up.
        return hashes;
    }
    steps.remove(record);
    for (const auto& file : files)
        if (!file.backup.empty())
            steps.remove(file.backup);
    return hashes;
}
