#include "FileIo.h"

#include "FileError.h"
#include "FileIoSteps.h"
#include "Memory.h"

#include <charconv>
#include <functional>

using namespace FileIoSteps;

namespace {

const std::string NewMark = ".quillon-new-";
const std::string OldMark = ".quillon-old-";
constexpr std::size_t MaxUniqueEnding = 32;

void removeTemporaries(const std::vector<PendingFile>& files) {
    for (const auto& file : files) {
        if (!file.temporary.empty())
            removeFile(file.temporary);
        if (!file.backup.empty())
            removeFile(file.backup);
    }
}

// Puts files 0 to failed back as they were before the save; returns those that could not be.
std::string putBack(std::vector<PendingFile>& files, std::size_t failed) {
    std::string unrestored;
    auto note = [&unrestored](const std::string& what) {
        unrestored += (unrestored.empty() ? "" : ", ") + what;
    };
    for (std::size_t j = 0; j <= failed; ++j) {
        PendingFile& file = files[j];
        if (!file.backup.empty()) {
            // The backup name is removed with the temporaries: a rename between two names of one
            // file leaves both.
            if (!restoreOldFile(file))
                note(file.requested);
        } else if (j < failed && !file.existed) {
            if (!removeFile(file.target))
                note(file.requested);
        } else if (j == failed && file.existed && !exists(file.target)) {
            // The old file went and the new one did not come: keep the new contents.
            note(file.requested + " (its new contents are in " + file.temporary + ")");
            file.temporary.clear();
        } else if (j < failed) {
            note(file.requested); // replaced, and no old copy to put back
        }
        if (j < failed)
            file.temporary.clear(); // already moved into place
    }
    return unrestored;
}

bool isUniqueEnding(std::string_view text) {
    if (text.empty() || text.size() > MaxUniqueEnding)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

// The id of the process that made a leftover of the file named base, or nothing when the name
// is not one of a save's own files of that file.
std::optional<std::uint64_t> leftoverOwner(const std::string& name, const std::string& base) {
    if (name.size() <= base.size() + NewMark.size() ||
        !sameFileName(name.substr(0, base.size()), base))
        return std::nullopt;
    const std::string_view rest = std::string_view(name).substr(base.size());
    if (!rest.starts_with(NewMark) && !rest.starts_with(OldMark))
        return std::nullopt;
    const std::string_view tail = rest.substr(NewMark.size());
    std::uint64_t owner = 0;
    const auto [end, error] = std::from_chars(tail.data(), tail.data() + tail.size(), owner);
    if (error != std::errc{} || end == tail.data() || end == tail.data() + tail.size() ||
        *end != '-')
        return std::nullopt;
    if (!isUniqueEnding(std::string_view(
            end + 1, static_cast<std::size_t>(tail.data() + tail.size() - end - 1))))
        return std::nullopt;
    return owner;
}

} // namespace

namespace FileIoSteps {

std::string temporaryNamePrefix(const std::string& target) {
    return target + NewMark + std::to_string(currentProcessId()) + "-";
}

std::string backupNameFor(const std::string& temporary) {
    const auto mark = temporary.rfind(NewMark);
    return temporary.substr(0, mark) + OldMark + temporary.substr(mark + NewMark.size());
}

} // namespace FileIoSteps

std::uint64_t hashOf(std::string_view bytes) {
    // Snapshots are compared only within one run, so the library's own fast hash will do.
    return std::hash<std::string_view>{}(bytes);
}

FileArena FileArena::forFiles(std::span<const std::string> paths) {
    FileArena arena;
    for (const auto& path : paths)
        if (const auto stamp = stampOf(path))
            arena.size_ += static_cast<std::size_t>(std::min(stamp->size, MaxFileBytes));
    if (arena.size_ > 0)
        arena.block_ = Memory::largeBlock(arena.size_);
    return arena;
}

ByteBlock blockForBytes(std::size_t size) {
    // Below a large page's size there is nothing to gain.
    if (size < 1024 * 1024)
        return ByteBlock(size);
    return ByteBlock(Memory::largeBlock(size), size);
}

ByteBlock FileArena::take(std::size_t size) {
    if (!block_ || size > size_ - used_)
        return ByteBlock(size);
    ByteBlock part(std::shared_ptr<char>(block_, block_.get() + used_), size);
    used_ += size;
    return part;
}

FileContents readFile(const std::string& path, FileArena* arena) {
    FileStamp stamp;
    FileContents contents;
    BlockFor blockFor;
    if (arena)
        blockFor = [arena](std::size_t size) { return arena->take(size); };
    contents.bytes =
        std::make_shared<const ByteBlock>(readPlainFile(path, MaxFileBytes, stamp, blockFor));
    contents.snapshot = {stamp.size, stamp.modified, contents.bytes, 0};
    return contents;
}

FileSnapshot snapshotAfterWrite(const std::string& path, std::uint64_t hash) {
    const auto stamp = stampOf(path);
    return {stamp ? stamp->size : 0, stamp ? stamp->modified : 0, nullptr, hash};
}

std::uint64_t hashOf(const FileSnapshot& snapshot) {
    return snapshot.bytesRead ? hashOf(snapshot.bytesRead->view()) : snapshot.hashWritten;
}

bool changedSince(const std::string& path, const FileSnapshot& snapshot) {
    const auto stamp = stampOf(path);
    if (!stamp)
        return false; // gone or out of reach: nothing another program wrote would be lost, and
                      // the save itself reports whatever stands in its way

    if (stamp->size == snapshot.size && stamp->modified == snapshot.modified)
        return false;
    if (stamp->size != snapshot.size)
        return true;
    // A new time alone may be a rewrite of the same bytes: only the bytes decide.
    try {
        FileStamp now;
        return hashOf(readPlainFile(path, MaxFileBytes, now).view()) != hashOf(snapshot);
    } catch (const std::exception&) {
        return true;
    }
}

void replaceFiles(std::span<const std::string> paths,
                  const std::function<ByteBlock(std::size_t)>& bytesOf, const MoveIntoPlace& move) {
    std::vector<PendingFile> files;
    files.reserve(paths.size());
    try {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            PendingFile file{paths[i], targetOf(paths[i]), false, {}, {}};
            file.existed = exists(file.target);
            files.push_back(std::move(file));
            writeTemporary(files.back(), bytesOf(i).view());
        }
    } catch (...) {
        removeTemporaries(files);
        throw;
    }

    // Each old file stays reachable until every new one is in place, so that a failure part way
    // through can put back the ones already replaced.
    for (auto& file : files)
        if (file.existed)
            file.backup = keepOldFile(file);

    for (std::size_t i = 0; i < files.size(); ++i) {
        if (move(files[i].temporary, files[i].target))
            continue;
        const auto reason = lastSystemError();
        const std::string unrestored = putBack(files, i);
        removeTemporaries(files);
        if (unrestored.empty())
            throw FileError(files[i].requested, reason);
        throw FileError(files[i].requested, reason,
                        reason.message() +
                            "; these files could not be put back as they were: " + unrestored);
    }
    for (auto& file : files)
        file.temporary.clear();
    removeTemporaries(files);
    flushFolders(files);
}

std::size_t removeSaveLeftovers(const std::string& path) {
    try {
        const std::string target = targetOf(path);
        const std::string folder = folderOf(target);
        const std::string base = nameOf(target);
        const std::uint64_t self = currentProcessId();
        std::size_t removed = 0;
        for (const std::string& name : namesIn(folder)) {
            const auto owner = leftoverOwner(name, base);
            // A save of this process is never under way here; another process's may be.
            if (owner && (*owner == self || !processIsRunning(*owner)) && removeFile(folder + name))
                ++removed;
        }
        return removed;
    } catch (const std::exception&) {
        return 0; // a leftover that stays is harmless; the next load or save tries again
    }
}
