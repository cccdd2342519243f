#include "FileIo.h"

#include "FileError.h"
#include "FileIoSteps.h"

#include "AsciiCase.h"
#include "Win32.h"

#include <atomic>
#include <vector>

namespace {

using Win32::Handle;

FileError notAPlainFile(const std::string& path, bool folder) {
    if (folder)
        return FileError(path, Win32::error(ERROR_DIRECTORY), "it is a folder, not a file");
    return FileError(path, Win32::error(ERROR_INVALID_FUNCTION),
                     "it is a device, not a plain file");
}

FileError tooBig(const std::string& path) {
    return FileError(path, Win32::error(ERROR_FILE_TOO_LARGE),
                     "the file is bigger than " + std::to_string(MaxFileBytes / (1024 * 1024)) +
                         " MB, far more than any settings file holds");
}

std::int64_t timeOf(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

std::uint64_t sizeOf(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

} // namespace

void FileIoSteps::writeTemporary(PendingFile& file, std::string_view bytes) {
    const DWORD attributes = GetFileAttributesA(file.requested.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            throw notAPlainFile(file.requested, true);
        if (attributes & FILE_ATTRIBUTE_READONLY)
            throw FileError(file.requested, Win32::error(ERROR_ACCESS_DENIED),
                            "the file is read-only");
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        throw FileError(file.requested, lastSystemError());
    }

    // A name nobody else uses: this process's id in the prefix, and a number of its own.
    static std::atomic<unsigned> counter{0};
    const std::string prefix = FileIoSteps::temporaryNamePrefix(file.requested);
    std::string name;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 1000 && created == INVALID_HANDLE_VALUE; ++attempt) {
        name = prefix + std::to_string(counter++);
        created = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    Handle h(created);
    if (!h.valid())
        throw FileError(file.requested, lastSystemError());
    file.temporary = name;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h.get(), bytes.data() + done, chunk, &written, nullptr))
            throw FileError(file.requested, lastSystemError());
        done += written;
    }
    if (!FlushFileBuffers(h.get()) || !h.close())
        throw FileError(file.requested, lastSystemError());
}

std::error_code lastSystemError() {
    return Win32::lastError();
}

bool moveIntoPlace(const std::string& temporary, const std::string& target) {
    // ReplaceFile keeps the target's attributes and security. A missing target, or one that
    // ReplaceFile moved away before giving up, is replaced by a plain move.
    if (ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr))
        return true;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
        error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        return false;
    return MoveFileExA(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

namespace FileIoSteps {

std::optional<FileStamp> stampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return FileStamp{sizeOf(data.nFileSizeHigh, data.nFileSizeLow), timeOf(data.ftLastWriteTime)};
}

ByteBlock readPlainFile(const std::string& path, std::uint64_t maxBytes, FileStamp& stamp,
                        const BlockFor& blockFor) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw notAPlainFile(path, true);
    Handle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        throw FileError(path, lastSystemError());
    if (GetFileType(h.get()) != FILE_TYPE_DISK)
        throw notAPlainFile(path, false);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h.get(), &info))
        throw FileError(path, lastSystemError());
    stamp = {sizeOf(info.nFileSizeHigh, info.nFileSizeLow), timeOf(info.ftLastWriteTime)};
    if (stamp.size > maxBytes)
        throw tooBig(path);
    // Reads to the measured size, then in pieces should the file have grown since.
    const auto size = static_cast<std::size_t>(stamp.size);
    ByteBlock bytes = blockFor ? blockFor(size) : ByteBlock(size);
    std::size_t filled = 0;
    std::string grown;
    for (;;) {
        char more[65536];
        const bool full = filled == bytes.size();
        DWORD n = 0;
        const BOOL read =
            full ? ReadFile(h.get(), more, sizeof more, &n, nullptr)
                 : ReadFile(
                       h.get(), bytes.data() + filled,
                       static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 1u << 30)),
                       &n, nullptr);
        if (!read)
            throw FileError(path, lastSystemError());
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

std::string targetOf(const std::string& path) {
    return path;
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string keepOldFile(const PendingFile& file) {
    const std::string backup = backupNameFor(file.temporary);
    return CopyFileA(file.target.c_str(), backup.c_str(), TRUE) ? backup : std::string();
}

bool restoreOldFile(const PendingFile& file) {
    return MoveFileExA(file.backup.c_str(), file.target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool removeFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

void flushFolders(const std::vector<PendingFile>&) {
    // The moves are made with MOVEFILE_WRITE_THROUGH or ReplaceFile, which return once done.
}

std::string folderOf(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? ".\\" : path.substr(0, separator + 1);
}

std::string nameOf(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.emplace_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool sameFileName(const std::string& a, const std::string& b) {
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
