#pragma once

#include "ByteBlock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Whole-file reading and all-or-nothing replacement of a set of files. Paths are native paths.

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

// A hash of the bytes: the same for the same bytes in every run of the program on one machine.
std::uint64_t hashOf(std::string_view bytes);

// The steps of a save that touch the disk, in the order a save takes them.
enum class SaveStep {
    Create,      // a new file: a temporary
    Write,       // its bytes
    Flush,       // its bytes to the disk itself
    KeepOld,     // a second name (on Windows a copy) for an old file
    FlushFolder, // the names made and renamed in a folder, to the disk
    Rename,      // a new file over its target (or, after a failure, an old copy back)
    Remove,      // an old copy or a temporary, once not needed
};
// Asked before each step with the file it concerns. A step it answers false to is not taken and
// fails as a system call would, with an input/output error. Tests make a step fail with it, or
// end their process there as a crash would; the programs pass none.
using SaveStepHook = std::function<bool(SaveStep step, const std::string& path)>;

// Writes the new contents of each file (bytesOf(i) for paths[i], made only as that file is
// written, so that no more than one file's contents are held at a time) to a temporary file
// beside its target, flushes it, and only when all are written renames them over their targets
// in the given order, then flushes the folders. A symbolic link has its target replaced. A
// read-only target or any other failure leaves every target as it was (a rename that fails part
// way puts back the files already replaced) and removes the temporary files. Returns the hash of
// each file's new bytes. Throws FileError naming the file concerned; in the rare case that a
// replaced file cannot be put back, the reason names it.
//
// The temporary and backup files carry names of the pattern FileIoSteps.h describes, so that
// removeSaveLeftovers can find what an interrupted save left.
std::vector<std::uint64_t> replaceFiles(std::span<const std::string> paths,
                                        const std::function<ByteBlock(std::size_t)>& bytesOf,
                                        const SaveStepHook& hook = {});

// Removes the temporary and backup files that saves of this file left beside it when they were
// interrupted (the process killed, the machine off). Only names of replaceFiles' pattern for
// this very file, left by a process that no longer runs, are removed; nothing else is touched.
// Returns how many were removed. Never throws.
std::size_t removeSaveLeftovers(const std::string& path);
