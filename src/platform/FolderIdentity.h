#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

// A folder told apart from every other whatever a path's spelling, links and letter case: its
// device and inode on POSIX, its volume's serial number and its file id on Windows.
struct FolderIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    auto operator<=>(const FolderIdentity&) const = default;
};

// The folder a native path names, links followed; nothing when it is missing, cannot be looked
// at or is not a folder. Throws nothing but std::bad_alloc.
std::optional<FolderIdentity> folderIdentity(const std::string& nativePath);

// Why a native path names no folder to look at: std::errc::no_such_file_or_directory when nothing
// is there, std::errc::not_a_directory when something else is, otherwise the system's reason (it
// may be there, but may not be looked at). No error when it is a folder.
std::error_code whyNoFolder(const std::string& nativePath);

// Whether a reason means that the place is simply not there (nothing, or not a folder).
inline bool meansMissing(const std::error_code& reason) {
    return reason == std::errc::no_such_file_or_directory || reason == std::errc::not_a_directory;
}
