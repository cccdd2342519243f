#pragma once

#include "platform/Error.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The commit record of a save: a small text file beside the files, written and flushed once
// every new file is on disk and before the first rename. While it is there, the save is to be
// finished. It tells, for each file of the save:
//
//   quillon-commit 2
//   file QuillonUser.ini                           the file the save was asked to write
//   target QuillonUser.ini                         the file replaced (a link's target), by name
//   new QuillonUser.ini.quillon-new-4242-a1B2c3    the new contents, beside the target
//   old QuillonUser.ini.quillon-old-4242-a1B2c3    the old contents (empty: there were none)
//   oldsize 1200                                   the old contents' size
//   oldhash fedcba9876543210                       and hash (0 and 0 when there were none)
//   size 1234                                      the new contents' size
//   hash 0123456789abcdef                          and hash (hashOf)
//   ... the same eight lines for each other file ...
//   end 0123456789abcdef                           the hash of every line before this one
//
// The previous version of the program wrote "quillon-commit 1", without the oldsize and oldhash
// lines; such a record is still followed, the old contents then told by the old copy itself.
// Only names are told, never folders: the files are found beside the settings files as the
// folder holds them. A name is told up to its line's end, so a link's target whose name holds
// a line break cannot be told; such a record is refused when read, like any spoilt one.
// The sizes and hashes let the recovery check each file before it touches it: a file is finished
// only where it still holds the old contents, undone only where it holds the new ones, and left
// as it is where it holds anything else (another program wrote it since).
struct CommitEntry {
    std::string file;
    std::string target;
    std::string temporary;
    std::string oldCopy;
    std::uint64_t oldSize = 0;
    std::uint64_t oldHash = 0;
    bool oldKnown = true; // false for a record of the previous version, which did not tell them
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const CommitEntry&) const = default;
};

// Why a record is not to be followed, in words for the user.
class RecordRefused : public Error {
public:
    using Error::Error;
};

// The text of a record of these entries.
std::string commitRecordText(std::span<const CommitEntry> entries);

// The entries of a record written by the process owner for files of the given names (the
// settings files, as the folder spells them). Throws RecordRefused saying why the text is not to
// be followed: not whole (its end line or its hash missing), not of this form, or
// naming anything but those files, their targets by bare name, and temporaries and old copies of
// the owner beside them, each file at most once.
std::vector<CommitEntry> parseCommitRecord(std::string_view text, std::uint64_t owner,
                                           std::span<const std::string> fileNames);
