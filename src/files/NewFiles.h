#pragma once

#include <string>

// New files where none stand: a whole copy under a name that is free, and the check that a folder
// takes new files at all. Paths are native paths.

// Copies the file at from to a new file at to, when nothing stands at to: the bytes go to a
// temporary beside to (the name pattern a save's temporaries have, so that an interrupted copy
// is tidied away as they are), are flushed to the disk, and only then take the name to, which
// nothing that appeared there meanwhile loses. A crash leaves either no file at to or the whole
// copy. Returns false, having changed nothing, when a file stands at to already. Throws FileError
// naming from when it cannot be read (a plain file of at most MaxFileBytes), or to when the copy
// cannot be made.
bool copyToFreeName(const std::string& from, const std::string& to);

// Throws FileError naming the folder, with the system's reason, when no new file can be made in
// it (it is read-only, or belongs to another user or the administrators). On POSIX it writes
// nothing; on Windows it makes one file of a save's temporary name beside fileName, and removes
// it at once.
void refuseUnwritableFolder(const std::string& folder, const std::string& fileName);
