#pragma once

#include <cstdint>
#include <string>

// The small files the search reads at the places it knows (Steam's lists and manifests,
// Heroic's list): whole, and only when each is a plain file of at most a mebibyte. A pipe or a
// device is refused without being waited on.
namespace SmallFile {

inline constexpr std::uint64_t MaxBytes = 1024 * 1024;

// The bytes of the file at a native path, without the UTF-8 byte order mark a Windows editor may
// put before them. Throws FileError, its reason as the user should read it, when it cannot be
// read.
std::string read(const std::string& nativePath);

// Whether nothing is at the native path (a program that was never set up has no settings), as
// against a file there, or one that may not be looked at, which read tells of.
bool isMissing(const std::string& nativePath);

} // namespace SmallFile
