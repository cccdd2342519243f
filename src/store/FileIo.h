#pragma once

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
// A read-only target, or any failure before the renames, leaves every target untouched and
// removes the temporary files. Throws FileError naming the file concerned.
void replaceFiles(std::span<const FileImage> images);
