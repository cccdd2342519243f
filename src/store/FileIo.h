#pragma once

#include <functional>
#include <span>
#include <string>

// Whole-file reading and all-or-nothing replacement of a set of files. Paths are native paths.

// Reads every byte of a file. Throws FileError with the path and the reason.
std::string readFileBytes(const std::string& path);

struct FileImage {
    std::string path;  // the file to replace (a symbolic link has its target replaced)
    std::string bytes; // its new contents
};

// Writes each image to a temporary file beside its target, flushes it, and only when all are
// written renames them over their targets in the given order, then flushes the folders.
// A read-only target or any other failure leaves every target as it was (a rename that fails
// part way puts back the files already replaced) and removes the temporary files. Throws
// FileError naming the file concerned; in the rare case that a replaced file cannot be put
// back, the reason names it.
void replaceFiles(std::span<const FileImage> images);

// Moves a finished temporary file over its target; false with the system's error set.
using MoveIntoPlace = std::function<bool(const std::string& temporary, const std::string& target)>;
// The platform's own way of doing it, which replaceFiles uses.
bool moveIntoPlace(const std::string& temporary, const std::string& target);

// The same with the last step given, so that a failing step can be tried.
void replaceFiles(std::span<const FileImage> images, const MoveIntoPlace& moveIntoPlace);
