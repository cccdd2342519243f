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
struct Reading {
    Contents contents;
    std::optional<std::string> unreadable; // why a file that is there cannot be read here
};
Reading read(const std::string& path) {
    try {
        FileStamp stamp;
        const ByteBlock bytes = readPlainFile(path, MaxFileBytes, stamp);
        return {std::pair{static_cast<std::uint64_t>(bytes.size()), hashOf(bytes.view())}, {}};
    } catch (const FileError& e) {
        if (e.code() == std::errc::no_such_file_or_directory)
            return {};
        return {std::nullopt, nameOf(path) + " cannot be read here (" + e.reason() + ")"};
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

// The user that owns a settings file: its own owner, or for one not there yet, the given one.
std::uint64_t ownerOfFile(const std::string& path, std::uint64_t missing = currentUser()) {
    const NameFacts facts = factsOf(path);
    return facts.exists ? facts.owner : missing;
}

// One file of a cut save, and where it stands now.
struct CutFile {
    CommitEntry entry;
    std::string requested; // the settings file's path
    std::string target;    // and the file a save of it replaces
    std::string temporary;
    std::string oldCopy;     // empty when the file was not there before the save
    std::uint64_t saver = 0; // the record's owner: that of the save's names of a file not there
    bool present = false;    // the target is there
    bool holdsNew = false;
    bool holdsOld = false;  // (both, for a save that left the file's bytes as they were)
    bool newReady = false;  // the temporary is fit to use and holds the new contents
    bool oldReady = false;  // the old copy is fit to use and holds the old contents
    bool leftNames = false; // the temporary or the old copy is still there
    std::optional<std::string> unreadable; // why the target, temporary or copy cannot be read
    std::optional<std::string> unwritable; // why the target cannot be replaced here

    // Looks at the target, the temporary and the old copy; notes a name not fit to use.
    void look(Notes& notes) {
        const std::uint64_t owner = ownerOfFile(target, saver);
        unreadable.reset();
        const auto contentsOf = [this](const std::string& path) {
            Reading reading = read(path);
            if (!unreadable)
                unreadable = std::move(reading.unreadable);
            return reading.contents;
        };
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
        leftNames = exists(temporary) || (!oldCopy.empty() && exists(oldCopy));
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
        present = exists(target);
        holdsNew = now == newContents;
        // A file not there before the save is old while it is not there; a previous version's
        // record whose old copy is gone can only tell the new contents apart.
        holdsOld = oldCopy.empty() ? !present : oldKnown ? now == old : !holdsNew;
        try {
            refuseUnwritable(requested, target);
            unwritable.reset();
        } catch (const FileError& e) {
            unwritable = entry.file + " cannot be written here (" + e.reason() + ")";
        }
    }
    bool movedOn() const { return !holdsNew && !holdsOld; }
    bool toFinish() const { return holdsOld && !holdsNew; }
    bool toUndo() const { return holdsNew && !holdsOld; }
    // What it holds, for the user.
    std::string holding() const {
        if (holdsNew)
            return entry.file + " holds its new contents";
        if (holdsOld)
            return entry.file + (present ? " holds its old contents" : " is not there, as before");
        return entry.file +
               (present ? " holds contents another program wrote since" : " is missing");
    }
};

// A save whose commit record was found, and its files.
class CutSave {
public:
    // The save a record tells of, written at that time; throws RecordRefused when the record is
    // not to be followed.
    CutSave(std::string record, std::uint64_t process, std::int64_t written,
            const std::string& folder, std::span<const std::string> names)
        : record_(std::move(record)), written_(written) {
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
            file.saver = factsOf(record_).owner;
            file.entry = std::move(entry);
            files_.push_back(std::move(file));
        }
    }

    // Finishes the save, or failing that undoes it, each file only where it holds what the
    // record says it held, and tells the user of every file left as it is. A save that nobody
    // can finish or undo any more, because a later save wrote every file after what it left had
    // gone, is tidied away. Throws FileError, with every file as it stands, when the save can be
    // neither finished nor undone here: its text says why, and what to do.
    void recover(Notes& notes) {
        for (auto& file : files_)
            file.look(notes);
        // What cannot be read cannot be judged: nothing is touched.
        for (const auto& file : files_)
            if (file.unreadable)
                throw refusedHere(folderOf(file.target), *file.unreadable);
        if (obsolete())
            return tidy(notes, "was overtaken by a later save of every file it names");
        const bool finished = finish(notes);
        if (finished || undo(notes)) {
            for (const auto& file : files_)
                if (file.movedOn())
                    notes.push_back(file.requested +
                                    " was left as it is: another program wrote it "
                                    "after a save of the settings files was cut "
                                    "short, whose other files were " +
                                    (finished ? std::string("finished") : "put back as they were") +
                                    ". Check that it holds the settings you want.");
            return;
        }
        if (finishableWithRights() || undoableWithRights())
            throw refusedHere();
        if (overtaken())
            return tidy(notes, "was overtaken by a later save, which wrote every file it names "
                               "after what the cut save left of them had gone; " +
                                   holdings() + ", as that later save left them");
        throw stuck();
    }

    // Removes the record and what it left, as a save that no longer applies.
    void dropAsOlder(Notes& notes) {
        for (auto& file : files_)
            file.look(notes);
        tidy(notes, "was older than another save cut short, which was taken instead");
    }

    const std::string& record() const { return record_; }
    const std::string& firstFile() const { return files_.front().requested; }

private:
    bool obsolete() const {
        return std::all_of(files_.begin(), files_.end(),
                           [](const CutFile& file) { return file.movedOn(); });
    }

    // Whether the save could be finished, or undone, by a user who may write every file.
    bool finishableWithRights() const {
        return std::all_of(files_.begin(), files_.end(),
                           [](const CutFile& f) { return !f.toFinish() || f.newReady; });
    }
    bool undoableWithRights() const {
        return std::all_of(files_.begin(), files_.end(), [](const CutFile& f) {
            return !f.toUndo() || f.oldCopy.empty() || f.oldReady;
        });
    }

    // Whether a later save wrote every file the record names after the record was written, and
    // nothing the cut save left of them is there any more: what the files hold is that later
    // save's, whatever it read.
    bool overtaken() const {
        return std::all_of(files_.begin(), files_.end(), [this](const CutFile& f) {
            const auto stamp = stampOf(f.target);
            return !f.leftNames && stamp && stamp->modified > written_;
        });
    }

    bool finish(Notes& notes) {
        for (const auto& file : files_)
            if (file.toFinish() && !(file.newReady && !file.unwritable))
                return false;
        for (auto& file : files_) {
            if (!file.toFinish())
                continue;
            try {
                renameFile(file.temporary, file.target);
            } catch (const FileError& e) {
                failed_ = {folderOf(file.target), e.reason()};
                for (auto& again : files_)
                    again.look(notes);
                return false;
            }
            file.holdsNew = true;
        }
        tidy(notes, {});
        return true;
    }

    // Puts the old copies back over the files already replaced, and takes away the files the
    // save made afresh, each only where it holds the save's new contents.
    bool undo(Notes& notes) {
        for (const auto& file : files_)
            if (file.toUndo() && !((file.oldCopy.empty() || file.oldReady) && !file.unwritable))
                return false;
        for (auto& file : files_) {
            if (!file.toUndo())
                continue;
            try {
                if (!file.oldCopy.empty())
                    renameFile(file.oldCopy, file.target);
                else if (const auto why = removeName(file.target))
                    throw FileError(file.target, why);
            } catch (const FileError& e) {
                failed_ = {folderOf(file.target), e.reason()};
                return false;
            }
            file.holdsNew = false;
            file.holdsOld = true;
        }
        tidy(notes, {});
        return true;
    }

    // What each file holds, for the user.
    std::string holdings() const {
        std::string text;
        for (const auto& file : files_)
            text += (text.empty() ? "" : ", ") + file.holding();
        return text;
    }

    // The save cannot be finished or undone by this user: the folder, or a file in it, cannot be
    // written here. Its record stays for a user who may.
    FileError refusedHere() const {
        std::string folder = folderOf(record_);
        if (const auto why = whyFolderUnwritable(folder, nameOf(firstFile())))
            return refusedHere(folder, why.message());
        for (const auto& file : files_)
            if (file.unwritable && (file.toFinish() || file.toUndo()))
                return refusedHere(folderOf(file.target), *file.unwritable);
        if (failed_)
            return refusedHere(failed_->first, failed_->second);
        return refusedHere(folder, "a step of it failed");
    }
    FileError refusedHere(const std::string& folder, const std::string& reason) const {
        return FileError(firstFile(), std::make_error_code(std::errc::permission_denied),
                         "a save of the settings files was cut short and can be finished only by "
                         "a user who may write in " +
                             folder + ": " + reason +
                             ". Until then the files are not loaded, as they may hold part of "
                             "that save (" +
                             holdings() + "). Its commit record " + record_ +
                             " and the files it names stay for that user; delete none of them.");
    }

    // Nobody can finish or undo the save any more: the files stay as they are, a mix that no
    // save made, until the user has looked at them.
    FileError stuck() const {
        std::string text = "a save that was cut short can be neither finished nor undone, as "
                           "what it needs of its files is gone, so the files stay as it left "
                           "them: " +
                           holdings() + ". ";
        const bool missing = std::any_of(files_.begin(), files_.end(), [](const CutFile& f) {
            return f.movedOn() && !f.present;
        });
        if (missing)
            text += "Put back each file that is missing (from a copy of your own, or the "
                    "game's) and load again; keep " +
                    record_ + " until then.";
        else
            text += "Check each file; to keep them as they are now, delete " + record_ +
                    " and load again.";
        return FileError(firstFile(), std::make_error_code(std::errc::io_error), text);
    }

    // The renames to the disk, then the record and what it named goes. With why, the save was
    // dropped rather than finished or undone, and the user is told.
    void tidy(Notes& notes, const std::string& why) const {
        std::set<std::string> folders{folderOf(record_)};
        for (const auto& file : files_)
            folders.insert(folderOf(file.target));
        try {
            for (const auto& folder : folders)
                flushFolder(folder);
        } catch (const FileError& e) {
            // What was renamed may not be on the disk yet: the record stays, for the next load to
            // check the settings files again.
            notes.push_back("The folder " + e.path() + " could not be flushed to the disk (" +
                            e.reason() + "), so the commit record " + record_ +
                            " stays; the next load checks the settings files again.");
            return;
        }
        if (const auto failed = removeName(record_)) {
            notes.push_back("A save of the settings files that was cut short " +
                            (why.empty() ? std::string("was recovered") : why) +
                            ", but its commit record " + record_ + " could not be removed (" +
                            failed.message() + "): a user who may write in " + folderOf(record_) +
                            " removes it by loading the files. It does no harm meanwhile.");
            return;
        }
        for (const auto& file : files_) {
            // Another user's file under one of these names was not used, and is not taken away
            // either; a link is only a name.
            const std::uint64_t owner = ownerOfFile(file.target, file.saver);
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
    }

    std::string record_;
    std::int64_t written_;
    std::vector<CutFile> files_;
    std::optional<std::pair<std::string, std::string>> failed_; // a folder, and why a step failed
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
                CutSave save(found.path, found.process, found.written, folder, names);
                if (applied) {
                    save.dropAsOlder(notes);
                    continue;
                }
                applied = true;
                try {
                    save.recover(notes);
                } catch (const FileError& refusal) {
                    std::string text = refusal.reason();
                    for (const auto& note : notes)
                        text += " " + note;
                    throw FileError(refusal.path(), refusal.code(), text);
                }
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
