#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

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
