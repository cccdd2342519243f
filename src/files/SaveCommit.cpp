// An all-or-nothing save of several files, that a crash or a power loss cannot leave half done.
//
// The order of its steps, and why:
// 1. Each new file is written beside its target and flushed to the disk. A save cut short here
//    has changed nothing; the next load or save removes what it left.
// 2. The old files get second names (on Windows, copies), so that the save can still be undone.
// 3. The commit record, naming every file of the save with the size and hash of its new
//    contents, is written under a temporary name, flushed, renamed to its own name, and the
//    folders are flushed. Only a whole record ever bears a record's name, and once it is on disk
//    every new file is too: from here on the save is to be finished.
// 4. The new files are renamed over the old ones, and the folders flushed, so that the renames
//    are on disk before anything that made them undoable goes.
// 5. The record is removed, then the old copies. A record left by a cut here, or whose removal
//    did not reach the disk, names files already in place: the next load sees that by their size
//    and hash and only tidies up.
// A cut after step 3 is finished at the next load (finishCutSaves), or, when it cannot be (a
// temporary lost, a file made read-only since), undone from the old copies.
// On Windows the flushes are FlushFileBuffers, and every rename is a MoveFileExW written
// through (MOVEFILE_WRITE_THROUGH), which returns once it is on disk.
#include "files/FileIo.h"

#include "files/CommitRecord.h"
#include "files/FileError.h"
#include "files/FileIoSteps.h"

#include <set>

using namespace FileIoSteps;

namespace {

// The steps of one save, each put to the hook first.
class Steps {
public:
    explicit Steps(const SaveStepHook& hook) : hook_(hook) {}

    // Throws the error a refused step fails with.
    void take(SaveStep step, const std::string& path) const {
        if (hook_ && !hook_(step, path))
            throw std::system_error(std::make_error_code(std::errc::io_error));
    }
    // A new file of these bytes under prefix, flushed; its name is handed to named as soon as it
    // exists, so that a failure after that still finds it. Throws std::system_error.
    void writeNew(const std::string& prefix, const std::string& model, std::string_view bytes,
                  std::string& named) const {
        take(SaveStep::Create, prefix);
        NewFile file(prefix, model);
        named = file.name();
        take(SaveStep::Write, named);
        file.write(bytes);
        take(SaveStep::Flush, named);
        file.flush();
        file.close();
    }
    // A rename or a second name; the reason when it failed, nothing when it was made.
    std::error_code rename(SaveStep step, const std::string& from, const std::string& to) const {
        if (hook_ && !hook_(step, from))
            return std::make_error_code(std::errc::io_error);
        const bool made = step == SaveStep::KeepOld ? keepOldFile(from, to) : renameFile(from, to);
        return made ? std::error_code() : lastSystemError();
    }
    bool remove(const std::string& path) const {
        return (!hook_ || hook_(SaveStep::Remove, path)) && removeFile(path);
    }
    void flushFolders(const std::vector<PendingFile>& files, const std::string& record) const {
        std::set<std::string> folders{folderOf(record)};
        for (const auto& file : files)
            folders.insert(folderOf(file.target));
        for (const auto& folder : folders)
            if (!hook_ || hook_(SaveStep::FlushFolder, folder))
                flushFolder(folder);
    }

private:
    const SaveStepHook& hook_;
};

// Refuses a read-only target, then writes the new contents beside it.
void writeTemporary(const Steps& steps, PendingFile& file, std::string_view bytes) {
    refuseUnwritable(file.requested, file.target);
    try {
        steps.writeNew(temporaryNamePrefix(file.target), file.target, bytes, file.temporary);
    } catch (const std::system_error& e) {
        if (!file.temporary.empty())
            throw FileError(file.requested, e.code());
        throw FileError(file.requested, e.code(),
                        "cannot create a temporary file in " + folderOf(file.target) + ": " +
                            e.code().message());
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
// name. Throws FileError naming the first file.
std::string commit(const Steps& steps, const std::vector<PendingFile>& files) {
    std::vector<CommitEntry> entries;
    for (const auto& file : files)
        entries.push_back({nameOf(file.requested), nameOf(file.target), nameOf(file.temporary),
                           nameOf(file.backup), file.size, file.hash});
    const std::string& first = files.front().requested;
    std::string unnamed;
    try {
        steps.writeNew(temporaryNamePrefix(first), {}, commitRecordText(entries), unnamed);
    } catch (const std::system_error& e) {
        if (!unnamed.empty())
            steps.remove(unnamed);
        throw FileError(first, e.code(),
                        "cannot write the save's commit record beside it: " + e.code().message());
    }
    const std::string record = withMark(unnamed, CommitMark);
    if (const auto reason = steps.rename(SaveStep::Commit, unnamed, record)) {
        steps.remove(unnamed);
        throw FileError(first, reason,
                        "cannot write the save's commit record beside it: " + reason.message());
    }
    steps.flushFolders(files, record);
    return record;
}

// Puts files 0 to failed back as they were before the save; returns those that could not be.
std::string putBack(const Steps& steps, std::vector<PendingFile>& files, std::size_t failed) {
    std::string unrestored;
    auto note = [&unrestored](const std::string& what) {
        unrestored += (unrestored.empty() ? "" : ", ") + what;
    };
    for (std::size_t j = 0; j <= failed; ++j) {
        PendingFile& file = files[j];
        if (!file.backup.empty()) {
            // The backup name is removed with the temporaries: a rename between two names of one
            // file leaves both.
            if (steps.rename(SaveStep::Rename, file.backup, file.target))
                note(file.requested);
        } else if (j < failed && !file.existed) {
            if (!steps.remove(file.target))
                note(file.requested);
        } else if (j == failed && file.existed && !exists(file.target)) {
            // The old file went and the new one did not come: keep the new contents.
            note(file.requested + " (its new contents are in " + file.temporary + ")");
            file.temporary.clear();
        } else if (j < failed) {
            note(file.requested); // replaced, and no old copy to put back
        }
        if (j < failed)
            file.temporary.clear(); // already moved into place
    }
    return unrestored;
}

} // namespace

std::vector<std::uint64_t> replaceFiles(std::span<const std::string> paths,
                                        const std::function<ByteBlock(std::size_t)>& bytesOf,
                                        const SaveStepHook& hook) {
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
        for (auto& file : files) {
            const std::string backup = withMark(file.temporary, OldMark);
            if (file.existed && !steps.rename(SaveStep::KeepOld, file.target, backup))
                file.backup = backup;
        }
        record = commit(steps, files);
    } catch (...) {
        removeTemporaries(steps, files);
        throw;
    }

    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto reason = steps.rename(SaveStep::Rename, files[i].temporary, files[i].target);
        if (!reason)
            continue;
        const std::string unrestored = putBack(steps, files, i);
        if (unrestored.empty()) {
            steps.flushFolders(files, record);
            steps.remove(record);
            removeTemporaries(steps, files);
            throw FileError(files[i].requested, reason);
        }
        // The record stays, with every file it names: the next load finishes the save, or
        // puts the old files back.
        throw FileError(files[i].requested, reason,
                        reason.message() + "; these files could not be put back as they were: " +
                            unrestored + "; the next load finishes the save or puts them back");
    }
    steps.flushFolders(files, record);
    steps.remove(record);
    for (const auto& file : files)
        if (!file.backup.empty())
            steps.remove(file.backup);
    return hashes;
}
