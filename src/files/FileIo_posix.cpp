// The system calls of file reading and saving on POSIX systems.
#include "files/FileIo.h"

#include "files/FileError.h"
#include "files/FileIoSteps.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

std::error_code lastSystemError() {
    return {errno, std::generic_category()};
}

namespace {

constexpr int MaxLinkDepth = 40;

std::error_code errorCode(int number) {
    return {number, std::generic_category()};
}

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

FileStamp stampFrom(const struct stat& st) {
    const auto nanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 +
                             static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return {static_cast<std::uint64_t>(st.st_size), nanoseconds};
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    Descriptor() = default;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    void reset() {
        if (fd >= 0)
            ::close(std::exchange(fd, -1));
    }
    int fd = -1;
};

// What an open call gave for a file that must be a plain one: its facts, or the reason it cannot
// be used.
struct stat openedPlainFile(int fd, const std::string& path) {
    if (fd < 0)
        throw FileError(path, lastSystemError());
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw FileError(path, lastSystemError());
    if (!S_ISREG(st.st_mode))
        throw notAPlainFile(path, st.st_mode);
    return st;
}

mode_t creationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::optional<FileStamp> stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return stampFrom(st);
}

namespace FileIoSteps {

const char* const PathSeparators = "/";

struct ReadableFile::System : Descriptor {};
struct NewFile::System : Descriptor {};

ReadableFile::ReadableFile(const std::string& path)
    : path_(path), system_(std::make_unique<System>()) {
    // Opening a pipe for reading waits for a writer, unless it is opened without blocking.
    system_->fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    stamp_ = stampFrom(openedPlainFile(system_->fd, path));
}

ReadableFile::~ReadableFile() = default;

std::size_t ReadableFile::read(char* into, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(system_->fd, into, size);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            throw FileError(path_, lastSystemError());
    }
}

NewFile::NewFile(const std::string& prefix, const std::string& model, bool exactName)
    : name_(exactName ? prefix : prefix + "XXXXXX"), system_(std::make_unique<System>()) {
    struct stat st {};
    const bool modelled = !model.empty() && ::stat(model.c_str(), &st) == 0;
    system_->fd = exactName ? ::open(name_.c_str(),
                                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)
                            : ::mkostemp(name_.data(), O_CLOEXEC);
    if (system_->fd < 0)
        throw FileError(name_, lastSystemError());
    const mode_t mode = modelled ? (st.st_mode & 07777) : creationMode();
    if (::fchmod(system_->fd, mode) != 0) {
        const auto reason = lastSystemError();
        ::unlink(name_.c_str());
        throw FileError(name_, reason);
    }
    if (modelled && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        // Keeping the owner needs privileges; without them the file becomes the user's.
        [[maybe_unused]] const int ignored = ::fchown(system_->fd, st.st_uid, st.st_gid);
    }
}

NewFile::~NewFile() = default;

void NewFile::write(std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(system_->fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(name_, lastSystemError());
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
}

void NewFile::flush() {
    if (::fsync(system_->fd) != 0)
        throw FileError(name_, lastSystemError());
}

void NewFile::close() {
    const int fd = std::exchange(system_->fd, -1);
    if (::close(fd) != 0)
        throw FileError(name_, lastSystemError());
}

std::string targetOf(const std::string& path) {
    return followLinks(path);
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

void refuseUnwritable(const std::string& requested, const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return;
        throw FileError(requested, lastSystemError());
    }
    if (!S_ISREG(st.st_mode))
        throw notAPlainFile(requested, st.st_mode);
    // Root may write anywhere, so a file without write permission bits counts as read-only too.
    // One that only this user may not write (another user's, or on a read-only disk) says why.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        throw FileError(requested, errorCode(EACCES), "the file is read-only");
    if (::access(target.c_str(), W_OK) != 0)
        throw FileError(requested, lastSystemError());
}

bool secondName(const std::string& target, const std::string& backup) {
    // No copying, and the old contents stay exactly as they were, with their owner and rights.
    if (::link(target.c_str(), backup.c_str()) == 0)
        return true;
    // What a file system without hard links answers (and the kernel, for a file of another user
    // where it protects hard links).
    if (errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK || errno == EXDEV ||
        errno == ENOSYS)
        return false;
    throw FileError(target, lastSystemError());
}

void renameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw FileError(to, lastSystemError());
}

bool moveToFreeName(const std::string& from, const std::string& to) {
    // A second name is never given over an existing one; the first then goes.
    if (::link(from.c_str(), to.c_str()) != 0) {
        if (errno == EEXIST)
            return false;
        throw FileError(to, lastSystemError());
    }
    ::unlink(from.c_str());
    return true;
}

std::error_code removeName(const std::string& path) noexcept {
    if (::unlink(path.c_str()) == 0)
        return {};
    return lastSystemError();
}

std::error_code whyFolderUnwritable(const std::string& folder, const std::string&) {
    // The rights of the user the program runs as, its ACLs and the disk's read-only mount all
    // count; nothing is written to learn them.
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0)
        return {};
    return lastSystemError();
}

void flushFolder(const std::string& folder) {
    Descriptor dir;
    dir.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd < 0)
        throw FileError(folder, lastSystemError());
    // A file system that cannot flush a folder says so with EINVAL; its names are as durable as
    // it makes them.
    if (::fsync(dir.fd) != 0 && errno != EINVAL)
        throw FileError(folder, lastSystemError());
}

NameFacts factsOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return {};
    return {true, S_ISREG(st.st_mode), static_cast<std::uint64_t>(st.st_uid)};
}

std::uint64_t currentUser() {
    return static_cast<std::uint64_t>(::geteuid());
}

namespace {

// flock without waiting, through signals: 0 when taken, else the system's error.
int tryFlock(int fd, int operation) {
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return 0;
        if (errno != EINTR)
            return errno;
    }
}

// What a file system answers when it locks no file of this kind (a folder, over NFS say).
bool locksNothingHere(int error) {
    return error == ENOLCK || error == EINVAL || error == EOPNOTSUPP || error == ENOTSUP ||
           error == EBADF || error == ENOSYS || error == EISDIR;
}

// What an open answers in a folder that is not there or that this user may not write in.
bool outOfReach(int error) {
    return error == ENOENT || error == ENOTDIR || error == EACCES || error == EPERM ||
           error == EROFS;
}

// Whether the open file is the one that the path names now.
bool stillNamed(int fd, const std::string& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

constexpr int LockOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK;

} // namespace

struct FolderLatch::System {
    Descriptor folder; // the folder itself, while its file system locks it
    Descriptor file;   // else the lock file
    bool onFile = false;
    bool fileReadOnly = false; // another user's lock file, which this one may not take away
    bool held = false;
    bool exclusive = false;
};

FolderLatch::FolderLatch(std::string folder, bool onFileAlone)
    : folder_(std::move(folder)), system_(std::make_unique<System>()) {
    system_->onFile = onFileAlone;
}

FolderLatch::~FolderLatch() {
    System& s = *system_;
    if (!s.onFile || s.file.fd < 0 || s.fileReadOnly)
        return;
    // The last holder is the one that may hold the lock alone: it takes the file away, as long
    // as the name is still its file's.
    const std::string path = folder_ + LockName;
    if (((s.held && s.exclusive) || tryFlock(s.file.fd, LOCK_EX) == 0) &&
        stillNamed(s.file.fd, path))
        ::unlink(path.c_str());
}

FolderLatch::Outcome FolderLatch::tryLock(bool exclusive) {
    System& s = *system_;
    const int operation = exclusive ? LOCK_EX : LOCK_SH;
    if (!s.onFile && s.folder.fd < 0) {
        s.folder.fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
        if (s.folder.fd < 0) {
            if (errno == ENOENT || errno == ENOTDIR)
                return Outcome::Unlockable;
            if (errno != EACCES && errno != EPERM)
                throw FileError(folder_, lastSystemError());
            s.onFile = true; // a folder this user may not list: its lock file, if it may make one
        }
    }
    if (!s.onFile) {
        const int error = tryFlock(s.folder.fd, operation);
        if (error == EWOULDBLOCK)
            return Outcome::Busy;
        if (error == 0) {
            s.held = true;
            s.exclusive = exclusive;
            if (exclusive)
                removeLeftLockFile();
            return Outcome::Taken;
        }
        if (!locksNothingHere(error))
            throw FileError(folder_, errorCode(error));
        s.folder.reset();
        s.onFile = true;
    }
    const std::string path = folder_ + LockName;
    for (;;) {
        if (s.file.fd < 0) {
            s.file.fd = ::open(path.c_str(), O_RDWR | O_CREAT | LockOpenFlags, creationMode());
            s.fileReadOnly = false;
            if (s.file.fd < 0 && errno == EACCES) {
                // There, but made by another user: a lock needs no more than reading it.
                s.file.fd = ::open(path.c_str(), O_RDONLY | LockOpenFlags);
                s.fileReadOnly = true;
            }
            if (s.file.fd < 0 && outOfReach(errno))
                return Outcome::Unlockable;
            openedPlainFile(s.file.fd, path);
        }
        const int error = tryFlock(s.file.fd, operation);
        if (error == EWOULDBLOCK)
            return Outcome::Busy;
        if (error != 0)
            throw FileError(path, errorCode(error));
        if (stillNamed(s.file.fd, path)) {
            s.held = true;
            s.exclusive = exclusive;
            return Outcome::Taken;
        }
        // Its last holder took it away while this one waited: the lock is on the name.
        s.file.reset();
    }
}

void FolderLatch::unlock() noexcept {
    System& s = *system_;
    ::flock(s.onFile ? s.file.fd : s.folder.fd, LOCK_UN);
    s.held = false;
}

bool FolderLatch::leftLockFile() const {
    return !system_->onFile && system_->folder.fd >= 0 && exists(folder_ + LockName);
}

void FolderLatch::removeLeftLockFile() const {
    // Held alone, where this folder is locked without one: only a program that ended, or an
    // earlier version of this one still running, can have a lock file here. Its lock says which.
    const std::string path = folder_ + LockName;
    Descriptor left;
    left.fd = ::open(path.c_str(), O_RDONLY | LockOpenFlags);
    struct stat st {};
    if (left.fd < 0 || ::fstat(left.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return;
    if (tryFlock(left.fd, LOCK_EX) == 0 && stillNamed(left.fd, path))
        ::unlink(path.c_str());
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

bool sameFileName(std::string_view a, std::string_view b) {
    return a == b;
}

std::uint64_t currentProcessId() {
    return static_cast<std::uint64_t>(::getpid());
}

} // namespace FileIoSteps
