#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The commit record of a save: a small text file beside the files, written and flushed once
// every new file is on disk and before the first rename. While it is there, the save is to be
// finished. It tells, for each file of the save:
//
//   quillon-commit 1
//   file QuillonUser.ini                           the file the save was asked to write
//   target QuillonUser.ini                         the file replaced (a link's target), by name
//   new QuillonUser.ini.quillon-new-4242-a1B2c3    the new contents, beside the target
//   old QuillonUser.ini.quillon-old-4242-a1B2c3    the old contents (empty: there were none)
//   size 1234                                      the new contents' size
//   hash 0123456789abcdef                          and hash (hashOf)
//   ... the same six lines for each other file ...
//   end 0123456789abcdef                           the hash of every line before this one
//
// Only names are told, never folders: the files are found beside the settings files as the
// folder holds them. A name is told up to its line's end, so a link's target whose name holds
// a line break cannot be told; such a record is refused when read, like any spoilt one.
// The size and hash tell a file already renamed into place (the target holds the new contents)
// from one whose temporary was lost (the target still holds something else).
struct CommitEntry {
    std::string file;
    std::string target;
    std::string temporary;
    std::string oldCopy;
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const CommitEntry&) const = default;
};

// The text of a record of these entries.
std::string commitRecordText(std::span<const CommitEntry> entries);

// The entries of a record written by the process owner for files of the given names (the
// settings files, as the folder spells them). Throws std::invalid_argument saying why the text
// is not to be followed: not whole (its end line or its hash missing), not of this form, or
// naming anything but those files, their targets by bare name, and temporaries and old copies of
// the owner beside them, each file at most once.
std::vector<CommitEntry> parseCommitRecord(std::string_view text, std::uint64_t owner,
                                           std::span<const std::string> fileNames);
