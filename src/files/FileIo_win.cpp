// The system calls of file reading and saving on Windows. Names reach the wide (W) functions
// through Win32::systemPath, so that a folder named in any script, or deeper than MAX_PATH,
// is read and written like any other; errors still name the path as the program spells it.
#include "files/FileIo.h"

#include "files/FileError.h"
#include "files/FileIoSteps.h"

#include "platform/AsciiCase.h"
#include "platform/Win32.h"

#include <atomic>
#include <optional>
#include <vector>

std::error_code lastSystemError() {
    return Win32::lastError();
}

namespace {

using Win32::Handle;

// The path as the wide functions take it. One that cannot be given to them (not UTF-8, a
// character Windows refuses, too long to be made absolute) fails with the system's reason and
// the path, as a file that cannot be opened does.
std::wstring systemPathOf(const std::string& path, const std::string& named) {
    try {
        return Win32::systemPath(path);
    } catch (const std::system_error& e) {
        throw FileError(named, e.code());
    }
}

// The same for the steps that report failure as false and the last error.
std::optional<std::wstring> systemPathOrError(const std::string& path) {
    try {
        return Win32::systemPath(path);
    } catch (const std::system_error& e) {
        SetLastError(static_cast<DWORD>(e.code().value()));
        return std::nullopt;
    }
}

DWORD attributesOf(const std::string& path) {
    const auto name = systemPathOrError(path);
    return name ? GetFileAttributesW(name->c_str()) : INVALID_FILE_ATTRIBUTES;
}

FileError notAPlainFile(const std::string& path, bool folder) {
    if (folder)
        return FileError(path, Win32::error(ERROR_DIRECTORY), "it is a folder, not a file");
    return FileError(path, Win32::error(ERROR_INVALID_FUNCTION),
                     "it is a device, not a plain file");
}

std::int64_t timeOf(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

std::uint64_t sizeOf(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

struct OwnedHandle {
    explicit OwnedHandle(HANDLE h) : handle(h) {}
    Handle handle;
};

// The attributes a new file takes from the file it is to replace: hidden, system and the like,
// but never read-only.
DWORD attributesLike(const std::string& model) {
    constexpr DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = model.empty() ? INVALID_FILE_ATTRIBUTES : attributesOf(model);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & Kept) == 0)
        return FILE_ATTRIBUTE_NORMAL;
    return attributes & Kept;
}

} // namespace

std::optional<FileStamp> stampOf(const std::string& path) {
    const auto name = systemPathOrError(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!name || !GetFileAttributesExW(name->c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return FileStamp{sizeOf(data.nFileSizeHigh, data.nFileSizeLow), timeOf(data.ftLastWriteTime)};
}

namespace FileIoSteps {

const char* const PathSeparators = "\\/";

struct ReadableFile::System : OwnedHandle {
    using OwnedHandle::OwnedHandle;
};
struct NewFile::System : OwnedHandle {
    using OwnedHandle::OwnedHandle;
};

ReadableFile::ReadableFile(const std::string& path) : path_(path) {
    const std::wstring name = systemPathOf(path, path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw notAPlainFile(path, true);
    system_ = std::make_unique<System>(CreateFileW(name.c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const HANDLE h = system_->handle.get();
    if (!system_->handle.valid())
        throw FileError(path, lastSystemError());
    if (GetFileType(h) != FILE_TYPE_DISK)
        throw notAPlainFile(path, false);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info))
        throw FileError(path, lastSystemError());
    stamp_ = {sizeOf(info.nFileSizeHigh, info.nFileSizeLow), timeOf(info.ftLastWriteTime)};
}

ReadableFile::~ReadableFile() = default;

std::size_t ReadableFile::read(char* into, std::size_t size) {
    DWORD n = 0;
    if (!ReadFile(system_->handle.get(), into,
                  static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &n, nullptr))
        throw FileError(path_, lastSystemError());
    return n;
}

NewFile::NewFile(const std::string& prefix, const std::string& model, bool exactName) {
    // A name nobody else uses: this process's id in the prefix, and a number of its own.
    static std::atomic<unsigned> counter{0};
    const DWORD attributes = attributesLike(model);
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 1000 && created == INVALID_HANDLE_VALUE; ++attempt) {
        name_ = exactName ? prefix : prefix + std::to_string(counter++);
        created = CreateFileW(systemPathOf(name_, name_).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, attributes, nullptr);
        if (exactName || (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS))
            break;
    }
    system_ = std::make_unique<System>(created);
    if (!system_->handle.valid())
        throw FileError(name_, lastSystemError());
}

NewFile::~NewFile() = default;

void NewFile::write(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(system_->handle.get(), bytes.data() + done, chunk, &written, nullptr))
            throw FileError(name_, lastSystemError());
        done += written;
    }
}

void NewFile::flush() {
    if (!FlushFileBuffers(system_->handle.get()))
        throw FileError(name_, lastSystemError());
}

void NewFile::close() {
    if (!system_->handle.close())
        throw FileError(name_, lastSystemError());
}

std::string targetOf(const std::string& path) {
    return path;
}

bool exists(const std::string& path) {
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

void refuseUnwritable(const std::string& requested, const std::string& target) {
    const DWORD attributes = GetFileAttributesW(systemPathOf(target, requested).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return;
        throw FileError(requested, lastSystemError());
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        throw notAPlainFile(requested, true);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        throw FileError(requested, Win32::error(ERROR_ACCESS_DENIED), "the file is read-only");
}

bool secondName(const std::string&, const std::string&) {
    // The old file is copied: a second name would share the file's handle rules with the game,
    // which may hold the file open while the save renames over it.
    return false;
}

void renameFile(const std::string& from, const std::string& to) {
    if (!MoveFileExW(systemPathOf(from, to).c_str(), systemPathOf(to, to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw FileError(to, lastSystemError());
}

bool moveToFreeName(const std::string& from, const std::string& to) {
    if (MoveFileExW(systemPathOf(from, to).c_str(), systemPathOf(to, to).c_str(),
                    MOVEFILE_WRITE_THROUGH))
        return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS)
        return false;
    throw FileError(to, lastSystemError());
}

std::error_code removeName(const std::string& path) noexcept {
    try {
        const auto name = systemPathOrError(path);
        if (name && DeleteFileW(name->c_str()))
            return {};
        return lastSystemError();
    } catch (...) {
        return Win32::error(ERROR_NOT_ENOUGH_MEMORY);
    }
}

std::error_code whyFolderUnwritable(const std::string& folder, const std::string& fileName) {
    // Only making a name tells surely whether one can be made here (the folder's own and
    // inherited rights, the filtered token of a user who is not elevated and a read-only disk all
    // count): a temporary of the settings file is made and taken away again, as a save's would be.
    const std::string probe = temporaryNamePrefix(folder + fileName);
    try {
        NewFile file(probe, {});
        file.close();
        removeFile(file.name());
        return {};
    } catch (const FileError& error) {
        return error.code();
    }
}

void flushFolder(const std::string&) {
    // Every rename is made with MOVEFILE_WRITE_THROUGH, which returns once it is on disk.
}

NameFacts factsOf(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {};
    constexpr DWORD NotPlain =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    return {true, (attributes & NotPlain) == 0, 0};
}

std::uint64_t currentUser() {
    return 0;
}

struct FolderLatch::System {
    Handle file; // the lock file, once open
};

FolderLatch::FolderLatch(std::string folder, bool)
    : folder_(std::move(folder)), system_(std::make_unique<System>()) {}

// The system deletes the lock file once the last handle to it closes, however its process ends.
FolderLatch::~FolderLatch() = default;

FolderLatch::Outcome FolderLatch::tryLock(bool exclusive) {
    const std::string path = folder_ + LockName;
    Handle& file = system_->file;
    if (!file.valid()) {
        const std::wstring name = systemPathOf(path, path);
        constexpr DWORD Sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        // Hidden, and deleted with its last handle: it is there only while a program holds it.
        file = Handle(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, Sharing,
                                  nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (!file.valid()) {
            const DWORD error = GetLastError();
            if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ||
                error == ERROR_WRITE_PROTECT || error == ERROR_DIRECTORY)
                return Outcome::Unlockable;
            if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)
                throw FileError(path, Win32::error(error));
            // Another user's lock file, that this one may not delete: a lock needs no more than
            // reading it.
            file = Handle(CreateFileW(name.c_str(), GENERIC_READ, Sharing, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file.valid()) {
                // A name the folder still lists is a file whose deletion is pending (nobody can
                // open it any more): its last holder is letting go. Else no file can be made.
                WIN32_FIND_DATAW found{};
                const Win32::FindHandle listed(FindFirstFileW(name.c_str(), &found));
                if (!listed.valid())
                    return Outcome::Unlockable;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    throw notAPlainFile(path, true);
                return Outcome::Busy;
            }
        }
        if (GetFileType(file.get()) != FILE_TYPE_DISK ||
            (attributesOf(path) & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
            file.close();
            throw notAPlainFile(path, false);
        }
    }
    OVERLAPPED at{};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (LockFileEx(file.get(), flags, 0, 1, 0, &at))
        return Outcome::Taken;
    if (GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING)
        return Outcome::Busy;
    throw FileError(path, lastSystemError());
}

void FolderLatch::unlock() noexcept {
    OVERLAPPED at{};
    UnlockFileEx(system_->file.get(), 0, 1, 0, &at);
}

bool FolderLatch::leftLockFile() const {
    return false;
}

void FolderLatch::removeLeftLockFile() const {}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    const auto name = systemPathOrError(folder);
    if (!name)
        return names;
    WIN32_FIND_DATAW found{};
    const Win32::FindHandle search(FindFirstFileW((*name + L"*").c_str(), &found));
    if (!search.valid())
        return names;
    do
        names.push_back(Win32::utf8(found.cFileName));
    while (FindNextFileW(search.get(), &found));
    return names;
}

bool sameFileName(std::string_view a, std::string_view b) {
    return AsciiCase::equalIgnoringCase(a, b);
}

std::uint64_t currentProcessId() {
    return GetCurrentProcessId();
}

} // namespace FileIoSteps
