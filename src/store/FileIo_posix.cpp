#include "FileIo.h"

#include "FileError.h"
#include "FileIoSteps.h"
#include "Memory.h"

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

std::error_code lastSystemError() {
    return {errno, std::generic_category()};
}

namespace {

constexpr int MaxLinkDepth = 40;

std::error_code errorCode(int number) {
    return {number, std::generic_category()};
}

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Follows a chain of symbolic links to the file that a save must replace.
std::string followLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth <= MaxLinkDepth; ++depth) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current; // a missing file is created where the path points
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(current.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            throw FileError(path, lastSystemError());
        std::string target(buffer.data(), static_cast<std::size_t>(n));
        current = target.starts_with('/') ? target : FileIoSteps::folderOf(current) + target;
    }
    throw FileError(path, errorCode(ELOOP));
}

// Why something that is not a plain file cannot be a settings file, in the user's words.
FileError notAPlainFile(const std::string& path, mode_t mode) {
    if (S_ISDIR(mode))
        return FileError(path, errorCode(EISDIR), "it is a folder, not a file");
    const char* kind = S_ISFIFO(mode)                   ? "a named pipe"
                       : S_ISSOCK(mode)                 ? "a socket"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                                                        : "a special file";
    return FileError(path, errorCode(EINVAL), std::string("it is ") + kind + ", not a plain file");
}

FileError tooBig(const std::string& path) {
    return FileError(path, errorCode(EFBIG),
                     "the file is bigger than " + std::to_string(MaxFileBytes / (1024 * 1024)) +
                         " MB, far more than any settings file holds");
}

FileIoSteps::FileStamp stampFrom(const struct stat& st) {
    const auto nanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 +
                             static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return {static_cast<std::uint64_t>(st.st_size), nanoseconds};
}

void writeAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw std::system_error(lastSystemError());
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
}

void refuseReadOnly(const FileIoSteps::PendingFile& file, const struct stat& st) {
    if (!S_ISREG(st.st_mode))
        throw notAPlainFile(file.requested, st.st_mode);
    // Root may write anywhere, so a file without write permission bits counts as read-only too.
    const bool noWriteBits = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (noWriteBits || ::access(file.target.c_str(), W_OK) != 0)
        throw FileError(file.requested, errorCode(EACCES), "the file is read-only");
}

void syncDirectory(const std::string& dir) {
    Fd fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

} // namespace

// Creates the temporary file beside the target, with the target's permissions, and fills it.
void FileIoSteps::writeTemporary(PendingFile& file, std::string_view bytes) {
    struct stat st {};
    const bool exists = ::stat(file.target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        throw FileError(file.requested, lastSystemError());
    if (exists)
        refuseReadOnly(file, st);

    std::string name = FileIoSteps::temporaryNamePrefix(file.target) + "XXXXXX";
    Fd fd(::mkstemp(name.data()));
    if (fd.get() < 0) {
        const auto reason = lastSystemError();
        throw FileError(file.requested, reason,
                        "cannot create a temporary file in " + FileIoSteps::folderOf(file.target) +
                            ": " + reason.message());
    }
    file.temporary = name;
    try {
        const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~[] {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            return mask;
        }());
        if (::fchmod(fd.get(), mode) != 0)
            throw std::system_error(lastSystemError());
        if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
            // Keeping the owner needs privileges; without them the file becomes the user's.
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), st.st_uid, st.st_gid);
        }
        writeAll(fd.get(), bytes);
        if (::fsync(fd.get()) != 0)
            throw std::system_error(lastSystemError());
        if (!fd.close())
            throw std::system_error(lastSystemError());
    } catch (const std::system_error& e) {
        throw FileError(file.requested, e.code());
    }
}

bool moveIntoPlace(const std::string& temporary, const std::string& target) {
    return ::rename(temporary.c_str(), target.c_str()) == 0;
}

namespace FileIoSteps {

std::optional<FileStamp> stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return stampFrom(st);
}

ByteBlock readPlainFile(const std::string& path, std::uint64_t maxBytes, FileStamp& stamp,
                        const BlockFor& blockFor) {
    // Opening a pipe for reading waits for a writer, unless it is opened without blocking.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        throw FileError(path, lastSystemError());
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throw FileError(path, lastSystemError());
    if (!S_ISREG(st.st_mode))
        throw notAPlainFile(path, st.st_mode);
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        throw tooBig(path);
    stamp = stampFrom(st);
    const auto size = static_cast<std::size_t>(st.st_size);
    ByteBlock bytes = blockFor ? blockFor(size) : ByteBlock(size);
    Memory::prefault(bytes.data(), bytes.size());
    // Reads to the measured size, then in pieces should the file have grown since.
    std::size_t filled = 0;
    std::string grown;
    for (;;) {
        char more[65536];
        const bool full = filled == bytes.size();
        const ssize_t n = full ? ::read(fd.get(), more, sizeof more)
                               : ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(path, lastSystemError());
        }
        if (n == 0)
            break;
        if (full) {
            grown.append(more, static_cast<std::size_t>(n));
            if (bytes.size() + grown.size() > maxBytes)
                throw tooBig(path);
        } else {
            filled += static_cast<std::size_t>(n);
        }
    }
    bytes.shrink(filled); // the file may have shrunk since it was measured
    if (!grown.empty())
        bytes.append(grown.data(), grown.size());
    return bytes;
}

std::string targetOf(const std::string& path) {
    return followLinks(path);
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string keepOldFile(const PendingFile& file) {
    // A second name for the old file: no copying, and the old contents stay exactly as they were.
    const std::string backup = backupNameFor(file.temporary);
    return ::link(file.target.c_str(), backup.c_str()) == 0 ? backup : std::string();
}

bool restoreOldFile(const PendingFile& file) {
    return ::rename(file.backup.c_str(), file.target.c_str()) == 0;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

void flushFolders(const std::vector<PendingFile>& files) {
    std::set<std::string> folders;
    for (const auto& file : files)
        folders.insert(folderOf(file.target));
    for (const auto& folder : folders)
        syncDirectory(folder);
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get()))
        names.emplace_back(entry->d_name);
    return names;
}

bool sameFileName(const std::string& a, const std::string& b) {
    return a == b;
}

std::uint64_t currentProcessId() {
    return static_cast<std::uint64_t>(::getpid());
}

bool processIsRunning(std::uint64_t id) {
    if (id == 0 || id > static_cast<std::uint64_t>(std::numeric_limits<pid_t>::max()))
        return false;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

} // namespace FileIoSteps
