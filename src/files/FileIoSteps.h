#pragma once

#include "files/ByteBlock.h"
#include "files/FileIo.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

// The steps of file reading and of an all-or-nothing save. FileIo.cpp, SaveCommit.cpp,
// CutSaves.cpp and FolderLock.cpp put them together once for every system; FileIo_posix.cpp and
// FileIo_win.cpp provide the system calls, and nothing else. Every step that fails throws
// FileError with the path and the system's reason, unless it says otherwise.
namespace FileIoSteps {

struct PendingFile {
    std::string requested;     // the path the caller named
    std::string target;        // the file that is replaced (a symbolic link's target)
    bool existed = false;      // whether the target was there before the save
    std::string temporary;     // the new contents; empty until created, and once moved into place
    std::string backup;        // the old contents under another name, while the new ones go in
    std::uint64_t oldSize = 0; // the old contents' size and hash (0 when there were none)
    std::uint64_t oldHash = 0;
    std::uint64_t size = 0; // the new contents' size and hash, as the commit record tells them
    std::uint64_t hash = 0;
};

// A plain file open for reading. Anything else (a folder, a pipe, a device) is refused without
// waiting on it.
class ReadableFile {
public:
    explicit ReadableFile(const std::string& path);
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    // Its size and modification time when it was opened.
    const FileStamp& stamp() const { return stamp_; }
    // Reads up to size bytes; 0 at the end of the file.
    std::size_t read(char* into, std::size_t size);

private:
    struct System; // the system's descriptor or handle
    std::string path_;
    std::unique_ptr<System> system_;
    FileStamp stamp_;
};

// A new file, created exclusively: under a name that is prefix followed by a unique ending of
// letters and digits, or (exactName) under prefix itself. When model names a file, the new one
// gets its permissions (and its owner where the process may set it) or its attributes. The
// handle closes with the object; the file stays.
class NewFile {
public:
    NewFile(const std::string& prefix, const std::string& model, bool exactName = false);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    const std::string& name() const { return name_; }
    void write(std::string_view bytes);
    // Flushes the bytes to the disk itself.
    void flush();
    // Closes it, reporting a late write error.
    void close();

private:
    struct System;
    std::string name_;
    std::unique_ptr<System> system_;
};

// The operating system's lock on one folder, shared or held alone. The system drops it when the
// process ends, however it ends, and it leaves nothing in the folder once no program holds it:
// - on POSIX, flock on the folder itself; where the file system locks no folder (or this user may
//   not list it), on a lock file (LockName) that its last holder removes, and that a program
//   which finds it removed or replaced once it holds its lock opens afresh;
// - on Windows, on a lock file opened to be deleted when its last handle closes: while that
//   deletion is pending nobody can open the name, and the lock counts as busy.
class FolderLatch {
public:
    enum class Outcome {
        Taken,
        Busy,       // another program holds a lock that stands in the way, or is letting it go
        Unlockable, // the folder is not there, or this user may neither lock it nor make its
                    // lock file: nothing can be saved there by this user
    };
    // Opens nothing yet. With onFileAlone, the lock is on the lock file even where the folder
    // itself could be locked, as it is where the file system locks no folder (for the tests of
    // that way; Windows always locks the file).
    explicit FolderLatch(std::string folder, bool onFileAlone = false);
    // Lets go of the lock; the last holder of a lock file takes the file away.
    ~FolderLatch();
    FolderLatch(const FolderLatch&) = delete;
    FolderLatch& operator=(const FolderLatch&) = delete;

    // Takes the lock without waiting; this latch must hold none. Held alone, it also takes away
    // a lock file that a program which ended left in a folder that is locked without one (an
    // earlier version of this program made one in every folder). Throws FileError on any failure
    // other than those of Outcome.
    Outcome tryLock(bool exclusive);
    // Lets go of the lock, keeping what it was taken on open.
    void unlock() noexcept;
    // Whether a lock file that no program may need any more stands in the folder: one that only a
    // program which ended can have left, since this folder is locked without one.
    bool leftLockFile() const;

private:
    void removeLeftLockFile() const;

    struct System;
    std::string folder_;
    std::unique_ptr<System> system_;
};

// What a name in a folder is, without following a link.
struct NameFacts {
    bool exists = false;
    bool plainFile = false;  // a file of its own: not a link, a folder, a pipe or a device
    std::uint64_t owner = 0; // the owning user (POSIX); 0 on Windows, which does not compare them
};
NameFacts factsOf(const std::string& path);
// The user the process runs as (POSIX); 0 on Windows.
std::uint64_t currentUser();

// The file a save of this path replaces.
std::string targetOf(const std::string& path);
bool exists(const std::string& path);
// Refuses, with a FileError naming requested, a target that is not a plain file or that is
// read-only. A missing target passes.
void refuseUnwritable(const std::string& requested, const std::string& target);
// Gives the old file a second name, backup, that stays on it while the file's name moves on to
// new contents. False, with nothing made, when the file system cannot give a file two names (no
// hard links: FAT, exFAT, some network shares; and Windows, where the caller copies instead).
bool secondName(const std::string& target, const std::string& backup);
// Renames a file over another, replacing it. On Windows the rename is on disk when it returns.
void renameFile(const std::string& from, const std::string& to);
// Gives a file another name when nothing bears that name yet: false, with nothing changed, when
// something does. On disk when it returns on Windows.
bool moveToFreeName(const std::string& from, const std::string& to);
// Removes a name; false when it could not be (what stays is tidied again later).
bool removeFile(const std::string& path) noexcept;
// The same, with the system's reason when it could not be removed; none when it was.
std::error_code removeName(const std::string& path) noexcept;
// Why this user may not make, rename or remove names in the folder (it is another user's, or on a
// read-only disk); none when it may. POSIX tells it without writing anything; Windows only by
// making a temporary of fileName, a file of the folder, and taking it away again.
std::error_code whyFolderUnwritable(const std::string& folder, const std::string& fileName);
// Makes the names made and renamed in a folder durable (nothing on Windows, whose renames are
// written through). A file system that cannot flush a folder at all passes.
void flushFolder(const std::string& folder);

// The characters that end a folder's name in a path: '/' and, on Windows, '\'.
extern const char* const PathSeparators;
// The folder part of a path, ending in its separator, and the name part.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);
// The names in a folder; empty when it cannot be read.
std::vector<std::string> namesIn(const std::string& folder);
// Whether two file names are the same name on this system.
bool sameFileName(std::string_view a, std::string_view b);
// This process's id: it makes a save's names its own, and it groups what one save left. Whether
// a save still runs is told by its lock, never by this number.
std::uint64_t currentProcessId();

} // namespace FileIoSteps

namespace FileIoSteps {

// Names of a save's own files: the target's name, a mark (".quillon-new-" the new contents,
// ".quillon-old-" the old ones kept while the new ones go in, ".quillon-commit-" the commit
// record), the saving process's id, a dash and a unique ending of letters and digits that the
// platform adds. No other program makes names like these, so what a cut save left is found.
extern const std::string NewMark;
extern const std::string OldMark;
extern const std::string CommitMark;
// The lock file of a folder whose file system locks no folder itself (and the one that earlier
// versions of this program made in every folder).
extern const std::string LockName;

// The start of a new file's name beside target, up to its unique ending.
std::string temporaryNamePrefix(const std::string& target);
// The name of a new file with another mark: its old copy or its commit record.
std::string withMark(const std::string& temporary, const std::string& mark);
// The id of the process that made a file of that name, when the name is base (spelt as this
// system compares names), the mark, a process id, a dash and a unique ending; nothing otherwise.
std::optional<std::uint64_t> ownerOf(std::string_view name, std::string_view base,
                                     std::string_view mark);

} // namespace FileIoSteps
