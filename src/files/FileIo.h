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

// The steps of a save that touch the disk, in the order a save takes them (SaveCommit.cpp says
// why it is that order).
enum class SaveStep {
    Create,      // a new file: a temporary or the commit record under its temporary name
    Write,       // its bytes
    Flush,       // its bytes to the disk itself
    KeepOld,     // a second name (on Windows a copy) for an old file
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
// beside its target, flushes it, writes the commit record that names them all, and only then
// renames them over their targets in the given order, flushes the folders and removes the record
// and the old copies. A symbolic link has its target replaced. A read-only target or any other
// failure leaves every target as it was (a rename that fails part way puts back the files already
// replaced) and removes the temporary files. A crash or a power loss at any moment leaves a save
// that finishCutSaves finishes or undoes. Returns the hash of each file's new bytes. Throws
// FileError naming the file concerned; in the rare case that a replaced file cannot be put back,
// the reason names it, and the commit record stays for the next load to finish or undo the save.
//
// The temporary and backup files and the commit record carry names of the pattern FileIoSteps.h
// describes: the record is named after the first file, and lives in its folder.
std::vector<std::uint64_t> replaceFiles(std::span<const std::string> paths,
                                        const std::function<ByteBlock(std::size_t)>& bytesOf,
                                        const SaveStepHook& hook = {});

// Finishes every save of these files (a file set, as replaceFiles was given it) that a crash or
// a power loss cut short after its commit record was on disk, when the process that made it no
// longer runs: the renames still to do are done, the folders flushed, and the record and the old
// copies removed. A save that cannot be finished (a temporary missing or spoilt, a target made
// read-only) is undone instead: the old copies go back over the files already replaced. A save
// of a process that still runs is left alone. Every file a record names is one of these files,
// its link's target, or a temporary or old copy beside that target, of the record's own process:
// a record that says anything else, or is not whole, is not followed, and stays where it is with
// the files of its process.
// Throws FileError naming the files when a save can be neither finished nor undone (then nothing
// of it is removed); the text also names each record that was not followed.
void finishCutSaves(std::span<const std::string> paths);

// Removes the temporary and backup files that saves of this file left beside it when they were
// interrupted before their commit record was on disk (the process killed, the machine off). Only
// names of replaceFiles' pattern for this very file, left by a process that no longer runs and
// that left no commit record, are removed; nothing else is touched. Returns how many were
// removed. Never throws.
std::size_t removeSaveLeftovers(const std::string& path);
