#pragma once

#include <string>
#include <vector>

// The steps of an all-or-nothing save that differ between systems. FileIo.cpp puts them together;
// FileIo_posix.cpp and FileIo_win.cpp provide them.
namespace FileIoSteps {

struct PendingFile {
    std::string requested; // the path the caller named
    std::string target;    // the file that is replaced (a symbolic link's target)
    bool existed = false;  // whether the target was there before the save
    std::string temporary; // the new contents; empty until created, and once moved into place
    std::string backup;    // the old contents under another name, while the new ones go in
};

// The file a save of this path replaces.
std::string targetOf(const std::string& path);
bool exists(const std::string& path);
// Refuses a read-only or unwritable target, then writes the bytes to a new temporary file beside
// it, with its permissions, flushed to disk; sets file.temporary. Throws FileError.
void writeTemporary(PendingFile& file, const std::string& bytes);
// Keeps the old file under another name (or as a copy); empty when that cannot be done.
std::string keepOldFile(const PendingFile& file);
// Moves the kept old file back over the target.
bool restoreOldFile(const PendingFile& file);
bool removeFile(const std::string& path);
// Makes the renames themselves durable.
void flushFolders(const std::vector<PendingFile>& files);

} // namespace FileIoSteps
