// What saves cut short by a crash or a power loss left: finished or undone when their commit
// record was on disk (see SaveCommit.cpp for the order of a save), removed when it was not.
#include "files/FileIo.h"

#include "files/CommitRecord.h"
#include "files/FileError.h"
#include "files/FileIoSteps.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

using namespace FileIoSteps;

namespace {

// Far more than five files' names need.
constexpr std::uint64_t MaxRecordBytes = 64 * 1024;

// Whether the saves of a process are over: it is gone, or it is this very one (which saves
// nothing while it loads).
bool savesAreOver(std::uint64_t owner) {
    return owner == currentProcessId() || !processIsRunning(owner);
}

// The process whose commit record a name is, whatever file it is named after.
std::optional<std::uint64_t> recordOwner(const std::string& name) {
    const auto mark = name.rfind(CommitMark);
    if (mark == std::string::npos)
        return std::nullopt;
    return ownerOf(name, std::string_view(name).substr(0, mark), CommitMark);
}

// The size and hash of a file's bytes; nothing when it cannot be read.
std::optional<std::pair<std::uint64_t, std::uint64_t>> sizeAndHash(const std::string& path) {
    try {
        FileStamp stamp;
        const ByteBlock bytes = readPlainFile(path, MaxFileBytes, stamp);
        return std::pair{static_cast<std::uint64_t>(bytes.size()), hashOf(bytes.view())};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Whether the file holds the bytes the record tells of.
bool holdsNewContents(const std::string& path, const CommitEntry& entry) {
    const auto stamp = stampOf(path);
    return stamp && stamp->size == entry.size &&
           sizeAndHash(path) == std::pair{entry.size, entry.hash};
}

// One file of a cut save, and where it stands now.
struct CutFile {
    CommitEntry entry;
    std::string requested; // the settings file's path
    std::string target;    // and the file a save of it replaces
    std::string temporary;
    std::string oldCopy;   // empty when the record names none
    bool newReady = false; // the temporary is there and holds the new contents
    bool inPlace = false;  // the temporary has been renamed over the target

    // A temporary that is gone was renamed into place when the target holds the new contents,
    // or no longer the old ones (another program may have written it since); otherwise it was
    // lost before its rename. Without an old copy to compare with, a target that is there counts.
    void look() {
        const bool temporaryThere = exists(temporary);
        newReady = temporaryThere && holdsNewContents(temporary, entry);
        const bool notOld =
            oldCopy.empty() || (exists(oldCopy) && sizeAndHash(target) != sizeAndHash(oldCopy));
        inPlace = !temporaryThere && exists(target) && (holdsNewContents(target, entry) || notOld);
    }
    bool writable() const {
        try {
            refuseUnwritable(requested, target);
            return true;
        } catch (const FileError&) {
            return false;
        }
    }
};

// A save whose commit record was found, and its files.
class CutSave {
public:
    // The save a record tells of; throws std::invalid_argument when the record is not to be
    // followed.
    CutSave(std::string record, std::uint64_t owner, const std::string& folder,
            std::span<const std::string> names)
        : record_(std::move(record)) {
        FileStamp stamp;
        std::string text;
        try {
            text = std::string(readPlainFile(record_, MaxRecordBytes, stamp).view());
        } catch (const FileError& e) {
            throw std::invalid_argument(e.reason());
        }
        for (auto& entry : parseCommitRecord(text, owner, names)) {
            CutFile file;
            for (const auto& name : names)
                if (sameFileName(name, entry.file))
                    file.requested = folder + name;
            try {
                file.target = targetOf(file.requested);
            } catch (const FileError& e) {
                throw std::invalid_argument(e.what());
            }
            if (!sameFileName(nameOf(file.target), entry.target))
                throw std::invalid_argument("it names " + entry.target + " as the file that " +
                                            entry.file + " stands for, but that is " +
                                            nameOf(file.target));
            file.temporary = folderOf(file.target) + entry.temporary;
            if (!entry.oldCopy.empty())
                file.oldCopy = folderOf(file.target) + entry.oldCopy;
            file.entry = std::move(entry);
            files_.push_back(std::move(file));
        }
    }

    // Finishes the save, or failing that undoes it; false when neither could be done.
    bool finishOrUndo() {
        for (auto& file : files_)
            file.look();
        return finish() || undo();
    }

    // What the files hold now, for the user.
    std::string describe() const {
        std::string text;
        for (const auto& file : files_)
            text += (text.empty() ? "" : ", ") + file.entry.file + " holds its " +
                    (file.inPlace ? "new" : "old") + " contents";
        return text + "; its commit record " + record_ + " and every file it names are kept";
    }
    const std::string& firstFile() const { return files_.front().requested; }

private:
    bool finish() {
        for (const auto& file : files_)
            if (!file.inPlace && !(file.newReady && file.writable()))
                return false;
        for (auto& file : files_) {
            if (!file.inPlace && !renameFile(file.temporary, file.target)) {
                for (auto& again : files_)
                    again.look();
                return false;
            }
            file.inPlace = true;
        }
        tidy();
        return true;
    }

    // Puts the old copies back over the files already replaced. A file the save made afresh is
    // not removed: without an old copy, a replaced file cannot be undone.
    bool undo() {
        for (const auto& file : files_)
            if (file.inPlace && (file.oldCopy.empty() || !exists(file.oldCopy) || !file.writable()))
                return false;
        for (auto& file : files_) {
            if (file.inPlace && !renameFile(file.oldCopy, file.target))
                return false;
            file.inPlace = false;
        }
        tidy();
        return true;
    }

    // The renames to the disk, then the record and what it named goes.
    void tidy() const {
        std::set<std::string> folders{folderOf(record_)};
        for (const auto& file : files_)
            folders.insert(folderOf(file.target));
        for (const auto& folder : folders)
            flushFolder(folder);
        removeFile(record_);
        for (const auto& file : files_) {
            if (exists(file.temporary))
                removeFile(file.temporary);
            if (!file.oldCopy.empty() && exists(file.oldCopy))
                removeFile(file.oldCopy);
        }
    }

    std::string record_;
    std::vector<CutFile> files_;
};

} // namespace

void finishCutSaves(std::span<const std::string> paths) {
    std::set<std::string> folders;
    for (const auto& path : paths)
        folders.insert(folderOf(path));
    std::string unfinished;
    std::string firstUnfinished;
    std::string notFollowed;
    for (const auto& folder : folders) {
        std::vector<std::string> names;
        for (const auto& path : paths)
            if (folderOf(path) == folder)
                names.push_back(nameOf(path));
        for (const auto& name : namesIn(folder)) {
            const auto owner = recordOwner(name);
            const bool ours = owner && std::any_of(names.begin(), names.end(), [&](const auto& n) {
                                  return ownerOf(name, n, CommitMark).has_value();
                              });
            if (!ours || !savesAreOver(*owner))
                continue;
            try {
                CutSave save(folder + name, *owner, folder, names);
                if (save.finishOrUndo())
                    continue;
                unfinished += (unfinished.empty() ? "" : "; ") + save.describe();
                if (firstUnfinished.empty())
                    firstUnfinished = save.firstFile();
            } catch (const std::invalid_argument& refused) {
                notFollowed += "; the commit record " + folder + name + " was not followed, as " +
                               refused.what();
            }
        }
    }
    if (!unfinished.empty())
        throw FileError(firstUnfinished, std::make_error_code(std::errc::io_error),
                        "a save that was cut short can be neither finished nor undone, so the "
                        "files stay as it left them: " +
                            unfinished + notFollowed);
}

std::size_t removeSaveLeftovers(const std::string& path) {
    try {
        // The settings file's own folder, and its link's target's when that is elsewhere.
        const std::string target = targetOf(path);
        std::vector<std::pair<std::string, std::string>> places{{folderOf(path), nameOf(path)}};
        if (target != path)
            places.emplace_back(folderOf(target), nameOf(target));
        std::vector<std::vector<std::string>> names;
        // A process that left a commit record keeps every file it left, for that record.
        std::set<std::uint64_t> recorded;
        for (const auto& [folder, base] : places) {
            names.push_back(namesIn(folder));
            for (const auto& name : names.back())
                if (const auto owner = recordOwner(name))
                    recorded.insert(*owner);
        }
        std::size_t removed = 0;
        for (std::size_t i = 0; i < places.size(); ++i) {
            const auto& [folder, base] = places[i];
            for (const std::string& name : names[i]) {
                auto owner = ownerOf(name, base, NewMark);
                if (!owner)
                    owner = ownerOf(name, base, OldMark);
                if (owner && !recorded.contains(*owner) && savesAreOver(*owner) &&
                    removeFile(folder + name))
                    ++removed;
            }
        }
        return removed;
    } catch (const std::exception&) {
        return 0; // a leftover that stays is harmless; the next load or save tries again
    }
}
