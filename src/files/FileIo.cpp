// Reading files whole and telling whether they changed: the same on every system, over the
// system calls of FileIo_posix.cpp and FileIo_win.cpp.
#include "files/FileIo.h"

#include "files/FileError.h"
#include "files/FileIoSteps.h"
#include "platform/Memory.h"

#include <cstring>
#include <functional>

using namespace FileIoSteps;

namespace {

FileError tooBig(const std::string& path) {
    return FileError(path, std::make_error_code(std::errc::file_too_large),
                     "the file is bigger than " + std::to_string(MaxFileBytes / (1024 * 1024)) +
                         " MB, far more than any settings file holds");
}

} // namespace

std::uint64_t hashOf(std::string_view bytes) {
    // FNV-1a's step (xor, then multiply by its prime) taken eight bytes at a time, each step
    // folding the high half into the low one so that every byte reaches every bit: stable from
    // run to run (unlike std::hash), and as fast as reading the bytes. The words are read in the
    // machine's own byte order: what is kept of a hash is read back on the machine that wrote it.
    constexpr std::uint64_t Prime = 0x100000001b3;
    std::uint64_t hash = 0xcbf29ce484222325;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = (hash ^ word) * Prime;
        hash ^= hash >> 32;
    }
    for (; i < bytes.size(); ++i)
        hash = (hash ^ static_cast<unsigned char>(bytes[i])) * Prime;
    return hash ^ bytes.size();
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

ByteBlock readPlainFile(const std::string& path, std::uint64_t maxBytes, FileStamp& stamp,
                        const BlockFor& blockFor) {
    ReadableFile file(path);
    if (file.stamp().size > maxBytes)
        throw tooBig(path);
    stamp = file.stamp();
    const auto size = static_cast<std::size_t>(stamp.size);
    ByteBlock bytes = blockFor ? blockFor(size) : ByteBlock(size);
    Memory::prefault(bytes.data(), bytes.size());
    // Reads to the measured size, then in pieces should the file have grown since.
    std::size_t filled = 0;
    std::string grown;
    for (;;) {
        char more[65536];
        const bool full = filled == bytes.size();
        const std::size_t n = full ? file.read(more, sizeof more)
                                   : file.read(bytes.data() + filled, bytes.size() - filled);
        if (n == 0)
            break;
        if (full) {
            grown.append(more, n);
            if (bytes.size() + grown.size() > maxBytes)
                throw tooBig(path);
        } else {
            filled += n;
        }
    }
    bytes.shrink(filled); // the file may have shrunk since it was measured
    if (!grown.empty())
        bytes.append(grown.data(), grown.size());
    return bytes;
}

namespace FileIoSteps {

bool removeFile(const std::string& path) noexcept {
    return !removeName(path);
}

std::string folderOf(const std::string& path) {
    const auto separator = path.find_last_of(PathSeparators);
    return separator == std::string::npos ? std::string{'.', PathSeparators[0]}
                                          : path.substr(0, separator + 1);
}

std::string nameOf(const std::string& path) {
    const auto separator = path.find_last_of(PathSeparators);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace FileIoSteps

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
