#pragma once

#include "files/ByteBlock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Whole-file reading and all-or-nothing replacement of a set of files. Paths are native paths.

// Size and modification time of a file, following links; nothing when it is not there.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
};
std::optional<FileStamp> stampOf(const std::string& path);

// Reads a plain file whole, refusing anything else and anything over maxBytes, into a block that
// blockFor gives for its size (a block of its own when there is no blockFor); the stamp is taken
// from the open file. Throws FileError.
using BlockFor = std::function<ByteBlock(std::size_t size)>;
ByteBlock readPlainFile(const std::string& path, std::uint64_t maxBytes, FileStamp& stamp,
                        const BlockFor& blockFor = {});

// No settings file comes anywhere near this size (32,766 lines of a thousand bytes each would be
// half of it); anything bigger is refused before it is read whole.
inline constexpr std::uint64_t MaxFileBytes = 64ull * 1024 * 1024;

// What a file was when it was last read or written: enough to tell whether another program has
// written it since.
struct FileSnapshot {
    std::uint64_t size = 0;
    std::int64_t modified = 0; // modification time in the system's own units
    // Its bytes when it was read (shared with whatever was made of them), or the hash of the bytes
    // written: the hash of bytes read is worked out only when it is needed.
    std::shared_ptr<const ByteBlock> bytesRead;
    std::uint64_t hashWritten = 0;
};

// The hash of the bytes the snapshot stands for.
std::uint64_t hashOf(const FileSnapshot& snapshot);

struct FileContents {
    std::shared_ptr<const ByteBlock> bytes;
    FileSnapshot snapshot;
};

// Room for the bytes of several files read one after another, in one Memory::largeBlock. A file
// takes the next part of the room its size needs; one that no longer fits (it grew since it was
// measured) gets a block of its own.
class FileArena {
public:
    // Room for the files as big as they are now.
    static FileArena forFiles(std::span<const std::string> paths);
    ByteBlock take(std::size_t size);

private:
    std::shared_ptr<char> block_;
    std::size_t size_ = 0;
    std::size_t used_ = 0;
};

// A block for a file's bytes: a Memory::largeBlock from a megabyte on, an ordinary one below.
ByteBlock blockForBytes(std::size_t size);

// Reads every byte of a plain file, and notes what it was. Anything else (a folder, a pipe, a
// device) is refused without waiting on it, and so is a file of more than MaxFileBytes. Throws
// FileError with the path and the reason. With an arena, the bytes go into its room.
FileContents readFile(const std::string& path, FileArena* arena = nullptr);

// The snapshot of a file that was just written with bytes of that hash.
FileSnapshot snapshotAfterWrite(const std::string& path, std::uint64_t hash);

// Whether the file now holds other bytes than the snapshot says. A file that was only touched (a
// new time, the same bytes) has not changed, nor has one that is gone.
bool changedSince(const std::string& path, const FileSnapshot& snapshot);

// A hash of the bytes: the same for the same bytes in every run of the program on one machine,
// since a commit record keeps it on disk for the next run.
std::uint64_t hashOf(std::string_view bytes);

class FolderLock;

// The steps of a save that touch the disk, in the order a save takes them (SaveCommit.cpp says
// why it is that order).
enum class SaveStep {
    Create,      // a new file: a temporary, an old file's copy or the commit record
    Write,       // its bytes
    Flush,       // its bytes to the disk itself
    KeepOld,     // a second name for an old file; refused, the old file is copied instead, as on
                 // a file system without hard links
    Commit,      // the commit record renamed to its own name: from here on the save is finished
    FlushFolder, // the names made and renamed in a folder, to the disk
    Rename,      // a new file over its target (or, after a failure, an old copy back)
    Remove,      // the commit record, an old copy or a temporary, once not needed
};
// Asked before each step with the file it concerns. A step it answers false to is not taken and
// fails as a system call would, with an input/output error. Tests make a step fail with it, or
// end their process there as a crash would; the programs pass none.
using SaveStepHook = std::function<bool(SaveStep step, const std::string& path)>;

// Writes the new contents of each file (bytesOf(i) for paths[i], made only as that file is
// written, so that no more than one file's contents are held at a time) to a temporary file
// beside its target, flushes it, keeps each old file under a second name (or as a flushed copy),
// writes the commit record that names them all with their old and new sizes and hashes, and only
// then renames them over their targets in the given order, flushes the folders and removes the
// record and the old copies. The caller holds the folders' lock alone for the whole save. A
// symbolic link has its target replaced. A read-only target, an old file that cannot be kept, a
// flush that fails, or any other failure before the first rename leaves every target as it was
// and removes what the save made; a rename that fails part way puts back the files already
// replaced. A crash or a power loss at any moment leaves a save that recoverCutSaves finishes or
// undoes. Returns the hash of each file's new bytes. Throws FileError naming the file concerned;
// in the rare case that a replaced file cannot be put back, the reason names it, and the commit
// record stays for the next load to finish or undo the save.
//
// The temporary and backup files and the commit record carry names of the pattern FileIoSteps.h
// describes: the record is named after the first file, and lives in its folder.
std::vector<std::uint64_t> replaceFiles(const FolderLock& lock, std::span<const std::string> paths,
                                        const std::function<ByteBlock(std::size_t)>& bytesOf,
                                        const SaveStepHook& hook = {});

// Whether anything a save of these files leaves behind when it is cut short (a commit record, a
// temporary, an old copy) stands beside them or their links' targets. Cheap: one listing a folder.
bool saveLeftoversBeside(std::span<const std::string> paths);

// Recovers what saves of these files (a file set, as replaceFiles was given it) left when they
// were cut short, under the folders' lock held alone: no save of them runs meanwhile.
// - The newest cut save whose commit record is on disk is finished, or failing that (a temporary
//   lost, a file made read-only since) undone. Each file is checked first: it is finished only
//   where it still holds its old contents, undone only where it holds its new ones, and left as
//   it is where it holds anything else (another program wrote it since).
// - Older cut saves are obsolete, and so is one whose files have all moved on: each is removed
//   with what it left.
// - A record that is not whole, names other files, or is not a plain file of the settings file's
//   owner (or of this user) is not followed, and stays with the files of its process. Temporaries
//   and old copies are used only when they are plain files of that owner, in the folder.
// - The temporaries and old copies of saves cut before their record was on disk are removed.
// Returns, for the user, what was done that they should know of (a file left as it is, a record
// not followed, an obsolete save removed), each with what to do: empty when there was nothing.
// Throws FileError naming the files when the newest save can be neither finished nor undone
// (then nothing of it is removed); its text says how to go on.
std::vector<std::string> recoverCutSaves(const FolderLock& lock,
                                         std::span<const std::string> paths);
