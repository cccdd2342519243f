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

NewFile::NewFile(const std::string& prefix, const std::string& model) {
    // A name nobody else uses: this process's id in the prefix, and a number of its own.
    static std::atomic<unsigned> counter{0};
    const DWORD attributes = attributesLike(model);
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 1000 && created == INVALID_HANDLE_VALUE; ++attempt) {
        name_ = prefix + std::to_string(counter++);
        created = CreateFileW(Win32::systemPath(name_).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, attributes, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    system_ = std::make_unique<System>(created);
    if (!system_->handle.valid())
        throw std::system_error(lastSystemError());
}

NewFile::~NewFile() = default;

void NewFile::write(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(system_->handle.get(), bytes.data() + done, chunk, &written, nullptr))
            throw std::system_error(lastSystemError());
        done += written;
    }
}

void NewFile::flush() {
    if (!FlushFileBuffers(system_->handle.get()))
        throw std::system_error(lastSystemError());
}

void NewFile::close() {
    if (!system_->handle.close())
        throw std::system_error(lastSystemError());
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

bool keepOldFile(const std::string& target, const std::string& backup) {
    const auto from = systemPathOrError(target);
    const auto to = from ? systemPathOrError(backup) : std::nullopt;
    return to && CopyFileW(from->c_str(), to->c_str(), TRUE);
}

bool renameFile(const std::string& from, const std::string& to) {
    const auto source = systemPathOrError(from);
    const auto target = source ? systemPathOrError(to) : std::nullopt;
    return target && MoveFileExW(source->c_str(), target->c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool moveToFreeName(const std::string& from, const std::string& to) {
    const auto source = systemPathOrError(from);
    const auto target = source ? systemPathOrError(to) : std::nullopt;
    return target && MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_WRITE_THROUGH);
}

bool removeFile(const std::string& path) {
    const auto name = systemPathOrError(path);
    return name && DeleteFileW(name->c_str());
}

void flushFolder(const std::string&) {
    // Every rename is made with MOVEFILE_WRITE_THROUGH, which returns once it is on disk.
}

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

bool processIsRunning(std::uint64_t id) {
    if (id > 0xFFFFFFFFu)
        return false;
    Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id)));
    if (!process.valid())
        return GetLastError() == ERROR_ACCESS_DENIED; // there, but not ours to look at
    DWORD code = 0;
    return GetExitCodeProcess(process.get(), &code) && code == STILL_ACTIVE;
}

} // namespace FileIoSteps
