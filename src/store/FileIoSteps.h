#pragma once

#include "ByteBlock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The steps of file reading and of an all-or-nothing save that differ between systems. FileIo.cpp
// puts them together; FileIo_posix.cpp and FileIo_win.cpp provide them.
namespace FileIoSteps {

struct PendingFile {
    std::string requested; // the path the caller named
    std::string target;    // the file that is replaced (a symbolic link's target)
    bool existed = false;  // whether the target was there before the save
    std::string temporary; // the new contents; empty until created, and once moved into place
    std::string backup;    // the old contents under another name, while the new ones go in
};

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

// The file a save of this path replaces.
std::string targetOf(const std::string& path);
bool exists(const std::string& path);
// Refuses a read-only or unwritable target, then writes the bytes to a new temporary file beside
// it, named as FileIo.h describes, with its permissions, flushed to disk; sets file.temporary.
// Throws FileError.
void writeTemporary(PendingFile& file, std::string_view bytes);
// Keeps the old file under the backup name that belongs to its temporary file (or as a copy);
// empty when that cannot be done.
std::string keepOldFile(const PendingFile& file);
// Moves the kept old file back over the target.
bool restoreOldFile(const PendingFile& file);
bool removeFile(const std::string& path);
// Makes the renames themselves durable.
void flushFolders(const std::vector<PendingFile>& files);

// The folder part of a path, ending in its separator, and the name part.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);
// The names in a folder; empty when it cannot be read.
std::vector<std::string> namesIn(const std::string& folder);
// Whether two file names are the same name on this system.
bool sameFileName(const std::string& a, const std::string& b);
// This process's id, and whether a process of that id is running.
std::uint64_t currentProcessId();
bool processIsRunning(std::uint64_t id);

} // namespace FileIoSteps

namespace FileIoSteps {

// Names of a save's own files: the target's name, ".quillon-new-" (the new contents) or
// ".quillon-old-" (the old ones, kept while the new ones go in), the saving process's id, a dash
// and a unique ending that the platform adds.
std::string temporaryNamePrefix(const std::string& target);
std::string backupNameFor(const std::string& temporary);

} // namespace FileIoSteps
