// What saves cut short by a crash or a power loss left: finished or undone when their commit
// record was on disk (see SaveCommit.cpp for the order of a save), removed when it was not. It all
// runs under the folders' lock held alone, so every save of these files that left something here
// is over: nothing is judged by a process number.
#include "files/FileIo.h"

#include "files/CommitRecord.h"
#include "files/FileError.h"
#include "files/FileIoSteps.h"
#include "files/FolderLock.h"

#include "platform/AsciiCase.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>

using namespace FileIoSteps;

namespace {

// Far more than five files' names need.
constexpr std::uint64_t MaxRecordBytes = 64 * 1024;

using Notes = std::vector<std::string>;

// The size and hash of what a file holds; nothing when it is not there or cannot be read.
using Contents = std::optional<std::pair<std::uint64_t, std::uint64_t>>;
Contents contentsOf(const std::string& path) {
    try {
        FileStamp stamp;
        const ByteBlock bytes = readPlainFile(path, MaxFileBytes, stamp);
        return std::pair{static_cast<std::uint64_t>(bytes.size()), hashOf(bytes.view())};
    } catch (const FileError&) {
        return std::nullopt;
    }
}

// The process whose commit record a name is, whatever file it is named after.
std::optional<std::uint64_t> recordOwner(const std::string& name) {
    const auto mark = name.rfind(CommitMark);
    if (mark == std::string::npos)
        return std::nullopt;
    return ownerOf(name, std::string_view(name).substr(0, mark), CommitMark);
}

// Why a name a save made cannot be used for a settings file owned by owner: not a plain file of
// its own, or (POSIX) made by another user than that owner and this one. Nothing when it can.
std::optional<std::string> unfitFor(const NameFacts& facts, std::uint64_t owner) {
    if (!facts.plainFile)
        return "it is not a plain file (a link, a folder or a device)";
    if (facts.owner != owner && facts.owner != currentUser())
        return "it belongs to another user than the settings file's owner";
    return std::nullopt;
}

// The user that owns a settings file: its own owner, or for one not there yet, this user.
std::uint64_t ownerOfFile(const std::string& path) {
    const NameFacts facts = factsOf(path);
    return facts.exists ? facts.owner : currentUser();
}

// One file of a cut save, and where it stands now.
struct CutFile {
    CommitEntry entry;
    std::string requested; // the settings file's path
    std::string target;    // and the file a save of it replaces
    std::string temporary;
    std::string oldCopy; // empty when the file was not there before the save
    bool holdsNew = false;
    bool holdsOld = false; // (both, for a save that left the file's bytes as they were)
    bool newReady = false; // the temporary is fit to use and holds the new contents
    bool oldReady = false; // the old copy is fit to use and holds the old contents
    bool writable = false;

    // Looks at the target, the temporary and the old copy; notes a name not fit to use.
    void look(Notes& notes) {
        const std::uint64_t owner = ownerOfFile(target);
        const auto fit = [&](const std::string& path) {
            const NameFacts facts = factsOf(path);
            if (!facts.exists)
                return false;
            if (const auto why = unfitFor(facts, owner)) {
                notes.push_back(path + " was not used for " + entry.file + ", as " + *why +
                                ". Delete it if you did not make it.");
                return false;
            }
            return true;
        };
        const std::pair newContents{entry.size, entry.hash};
        newReady = fit(temporary) && contentsOf(temporary) == newContents;
        Contents old;
        bool oldKnown = entry.oldKnown;
        if (!oldCopy.empty() && fit(oldCopy)) {
            const Contents copy = contentsOf(oldCopy);
            oldReady =
                copy && (!entry.oldKnown || *copy == std::pair{entry.oldSize, entry.oldHash});
            if (!entry.oldKnown && copy) {
                old = copy; // the previous version's record: the copy tells the old contents
                oldKnown = true;
            }
        }
        if (entry.oldKnown && !oldCopy.empty())
            old = std::pair{entry.oldSize, entry.oldHash};
        const Contents now = contentsOf(target);
        holdsNew = now == newContents;
        // A file not there before the save is old while it is not there; a previous version's
        // record whose old copy is gone can only tell the new contents apart.
        holdsOld = oldCopy.empty() ? !exists(target) : oldKnown ? now == old : !holdsNew;
        try {
            refuseUnwritable(requested, target);
            writable = true;
        } catch (const FileError&) {
            writable = false;
        }
    }
    bool movedOn() const { return !holdsNew && !holdsOld; }
};

// A save whose commit record was found, and its files.
class CutSave {
public:
    // The save a record tells of; throws RecordRefused when the record is not to be followed.
    CutSave(std::string record, std::uint64_t process, const std::string& folder,
            std::span<const std::string> names)
        : record_(std::move(record)) {
        std::string text;
        try {
            FileStamp stamp;
            text = std::string(readPlainFile(record_, MaxRecordBytes, stamp).view());
        } catch (const FileError& e) {
            throw RecordRefused(e.reason());
        }
        for (auto& entry : parseCommitRecord(text, process, names)) {
            CutFile file;
            for (const auto& name : names)
                if (sameFileName(name, entry.file))
                    file.requested = folder + name;
            try {
                file.target = targetOf(file.requested);
            } catch (const FileError& e) {
                throw RecordRefused(e.what());
            }
            if (!sameFileName(nameOf(file.target), entry.target))
                throw RecordRefused("it names " + entry.target + " as the file that " + entry.file +
                                    " stands for, but that is " + nameOf(file.target));
            file.temporary = folderOf(file.target) + entry.temporary;
            if (!entry.oldCopy.empty())
                file.oldCopy = folderOf(file.target) + entry.oldCopy;
            file.entry = std::move(entry);
            files_.push_back(std::move(file));
        }
    }

    // Finishes the save, or failing that undoes it, each file only where it holds what the
    // record says it held; false when neither could be done. Tells the user of every file left
    // as it is.
    bool finishOrUndo(Notes& notes) {
        for (auto& file : files_)
            file.look(notes);
        if (obsolete())
            return tidy(notes, "was overtaken by a later save of every file it names");
        const bool finished = finish(notes);
        if (!finished && !undo(notes))
            return false;
        for (const auto& file : files_)
            if (file.movedOn())
                notes.push_back(file.requested +
                                " was left as it is: another program wrote it "
                                "after a save of the settings files was cut "
                                "short, whose other files were " +
                                (finished ? std::string("finished") : "put back as they were") +
                                ". Check that it holds the settings you want.");
        return true;
    }

    // Removes the record and what it left, as a save that no longer applies.
    bool dropAsOlder(Notes& notes) {
        for (auto& file : files_)
            file.look(notes);
        return tidy(notes, "was older than another save cut short, which was taken instead");
    }

    // What the files hold now, for the user.
    std::string describe() const {
        std::string text;
        for (const auto& file : files_)
            text += (text.empty() ? "" : ", ") + file.entry.file + " holds " +
                    (file.holdsNew   ? "its new contents"
                     : file.holdsOld ? "its old contents"
                                     : "contents another program wrote since");
        return text + "; its commit record " + record_ + " and every file it names are kept";
    }
    const std::string& record() const { return record_; }
    const std::string& firstFile() const { return files_.front().requested; }

private:
    bool obsolete() const {
        return std::all_of(files_.begin(), files_.end(),
                           [](const CutFile& file) { return file.movedOn(); });
    }

    bool finish(Notes& notes) {
        for (const auto& file : files_)
            if (!file.holdsNew && file.holdsOld && !(file.newReady && file.writable))
                return false;
        for (auto& file : files_) {
            if (file.holdsNew || !file.holdsOld)
                continue;
            try {
                renameFile(file.temporary, file.target);
            } catch (const FileError&) {
                for (auto& again : files_)
                    again.look(notes);
                return false;
            }
            file.holdsNew = true;
        }
        return tidy(notes, {});
    }

    // Puts the old copies back over the files already replaced, and takes away the files the
    // save made afresh, each only where it holds the save's new contents.
    bool undo(Notes& notes) {
        for (const auto& file : files_)
            if (file.holdsNew && !file.holdsOld &&
                !((file.oldCopy.empty() || file.oldReady) && file.writable))
                return false;
        for (auto& file : files_) {
            if (!file.holdsNew || file.holdsOld)
                continue;
            if (file.oldCopy.empty()) {
                if (!removeFile(file.target))
                    return false;
            } else {
                try {
                    renameFile(file.oldCopy, file.target);
                } catch (const FileError&) {
                    return false;
                }
            }
            file.holdsNew = false;
            file.holdsOld = true;
        }
        return tidy(notes, {});
    }

    // The renames to the disk, then the record and what it named goes. With why, the save was
    // dropped rather than finished or undone, and the user is told.
    bool tidy(Notes& notes, const std::string& why) const {
        std::set<std::string> folders{folderOf(record_)};
        for (const auto& file : files_)
            folders.insert(folderOf(file.target));
        try {
            for (const auto& folder : folders)
                flushFolder(folder);
        } catch (const FileError& e) {
            // What was renamed may not be on the disk yet: the record stays, for the next load to
            // check the files again.
            notes.push_back("The folder " + e.path() + " could not be flushed to the disk (" +
                            e.reason() + "), so the commit record " + record_ +
                            " stays; the next load checks the settings files again.");
            return true;
        }
        removeFile(record_);
        for (const auto& file : files_) {
            // Another user's file under one of these names was not used, and is not taken away
            // either; a link is only a name.
            const std::uint64_t owner = ownerOfFile(file.target);
            for (const auto* name : {&file.temporary, &file.oldCopy}) {
                const NameFacts facts = factsOf(*name);
                if (facts.exists && !(facts.plainFile && unfitFor(facts, owner)))
                    removeFile(*name);
            }
        }
        if (!why.empty())
            notes.push_back("A save of the settings files that was cut short " + why +
                            ", so its commit record " + record_ +
                            " was removed with what it left. Nothing needs doing.");
        return true;
    }

    std::string record_;
    std::vector<CutFile> files_;
};

// A commit record found beside the settings files.
struct FoundRecord {
    std::string path;
    std::uint64_t process = 0;
    std::int64_t written = 0; // when it was written: the newest cut save is the one that applies
};

// The commit records of saves of these names (the settings files of one folder), newest first. A
// record named after one of them in another letter case than the folder's is not followed, and
// the user is told.
std::vector<FoundRecord> recordsIn(const std::string& folder, const std::vector<std::string>& names,
                                   Notes& notes) {
    std::vector<FoundRecord> found;
    for (const auto& name : namesIn(folder)) {
        const auto process = recordOwner(name);
        if (!process)
            continue;
        const std::string_view base = std::string_view(name).substr(0, name.rfind(CommitMark));
        const auto named = [&](const std::string& n) { return sameFileName(base, n); };
        if (std::none_of(names.begin(), names.end(), named)) {
            if (std::any_of(names.begin(), names.end(), [&](const std::string& n) {
                    return AsciiCase::equalIgnoringCase(base, n);
                }))
                notes.push_back("The commit record " + folder + name +
                                " was not followed, as it is named after " + std::string(base) +
                                ", which the folder spells otherwise; the files stay as they "
                                "are. Delete it if no copy of this program is saving the "
                                "settings files.");
            continue;
        }
        const auto stamp = stampOf(folder + name);
        found.push_back({folder + name, *process, stamp ? stamp->modified : 0});
    }
    std::sort(found.begin(), found.end(), [](const FoundRecord& a, const FoundRecord& b) {
        return a.written != b.written ? a.written > b.written : a.path > b.path;
    });
    return found;
}

// Why a record's file is not to be trusted, before it is read: it must be a plain file of the
// settings file it is named after (its owner, or this user).
void refuseUnfitRecord(const std::string& record, const std::string& folder,
                       const std::vector<std::string>& names) {
    std::string named;
    for (const auto& name : names)
        if (ownerOf(nameOf(record), name, CommitMark))
            named = folder + name;
    if (const auto why = unfitFor(factsOf(record), ownerOfFile(targetOf(named))))
        throw RecordRefused(*why);
}

// Removes the temporaries and old copies of saves of this file that left no record that stays
// (kept holds the processes of such records), beside it and beside its link's target.
void removeLeftovers(const std::string& path, const std::set<std::uint64_t>& kept, Notes& notes) {
    const std::string target = targetOf(path);
    std::vector<std::pair<std::string, std::string>> places{{folderOf(path), nameOf(path)}};
    if (target != path)
        places.emplace_back(folderOf(target), nameOf(target));
    const std::uint64_t owner = ownerOfFile(target);
    for (const auto& [folder, base] : places) {
        for (const std::string& name : namesIn(folder)) {
            auto process = ownerOf(name, base, NewMark);
            if (!process)
                process = ownerOf(name, base, OldMark);
            if (!process || kept.contains(*process))
                continue;
            const NameFacts facts = factsOf(folder + name);
            // A link or the like is only a name: taking it away touches nothing it points at.
            if (facts.plainFile && unfitFor(facts, owner)) {
                notes.push_back(folder + name + " looks like what a save of " + nameOf(path) +
                                " left, but belongs to another user, so it was left as it is. "
                                "Delete it if you did not make it.");
                continue;
            }
            removeFile(folder + name);
        }
    }
}

} // namespace

bool saveLeftoversBeside(std::span<const std::string> paths) {
    std::map<std::string, std::vector<std::string>> basesByFolder;
    for (const auto& path : paths) {
        basesByFolder[folderOf(path)].push_back(nameOf(path));
        const std::string target = targetOf(path);
        basesByFolder[folderOf(target)].push_back(nameOf(target));
    }
    for (const auto& [folder, bases] : basesByFolder)
        for (const auto& name : namesIn(folder))
            for (const auto& base : bases)
                for (const auto* mark : {&NewMark, &OldMark, &CommitMark})
                    if (ownerOf(name, base, *mark))
                        return true;
    return false;
}

std::vector<std::string> recoverCutSaves(const FolderLock& lock,
                                         std::span<const std::string> paths) {
    if (lock.mode() != FolderLock::Mode::Exclusive)
        throw std::logic_error("recovery must hold its folders' lock alone");
    Notes notes;
    std::map<std::string, std::vector<std::string>> namesByFolder;
    for (const auto& path : paths)
        namesByFolder[folderOf(path)].push_back(nameOf(path));

    // The processes whose records stay: their other files stay with them.
    std::set<std::uint64_t> kept;
    for (const auto& [folder, names] : namesByFolder) {
        bool applied = false;
        for (const auto& found : recordsIn(folder, names, notes)) {
            try {
                refuseUnfitRecord(found.path, folder, names);
                CutSave save(found.path, found.process, folder, names);
                if (applied) {
                    save.dropAsOlder(notes);
                    continue;
                }
                applied = true;
                if (save.finishOrUndo(notes))
                    continue;
                std::string text = "a save that was cut short can be neither finished nor undone, "
                                   "so the files stay as it left them: " +
                                   save.describe() +
                                   ". Check each file; to keep them as they "
                                   "are now, delete " +
                                   save.record() + " and load again.";
                for (const auto& note : notes)
                    text += " " + note;
                throw FileError(save.firstFile(), std::make_error_code(std::errc::io_error), text);
            } catch (const RecordRefused& refused) {
                kept.insert(found.process);
                notes.push_back("The commit record " + found.path + " was not followed, as " +
                                refused.what() +
                                "; the files stay as they are. Delete it if no copy of this "
                                "program is saving the settings files.");
            }
        }
    }
    for (const auto& path : paths)
        removeLeftovers(path, kept, notes);
    // A name unfit to use is told once, however often it was looked at.
    Notes told;
    for (auto& note : notes)
        if (std::find(told.begin(), told.end(), note) == told.end())
            told.push_back(std::move(note));
    return told;
}
