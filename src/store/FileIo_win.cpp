#include "FileIo.h"

#include "FileError.h"
#include "FileIoSteps.h"

#include <atomic>
#include <vector>
#include <windows.h>

namespace {

// Win32 error codes with the system's own wording.
class Win32Category : public std::error_category {
public:
    const char* name() const noexcept override { return "win32"; }
    std::string message(int code) const override {
        char* text = nullptr;
        const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                           FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, static_cast<DWORD>(code), 0,
                                       reinterpret_cast<char*>(&text), 0, nullptr);
        std::string message = n ? std::string(text, n) : "error " + std::to_string(code);
        if (text)
            LocalFree(text);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                    message.back() == ' ' || message.back() == '.'))
            message.pop_back();
        return message;
    }
};

const Win32Category& win32Category() {
    static const Win32Category category;
    return category;
}

// Closes a handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid())
            CloseHandle(h_);
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    bool close() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

std::string temporaryNameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + ".~" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) +
           ".tmp";
}

void writeTemporaryFile(FileIoSteps::PendingFile& file, const std::string& bytes) {
    const DWORD attributes = GetFileAttributesA(file.requested.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            throw FileError(file.requested, {ERROR_DIRECTORY, win32Category()},
                            "it is not a plain file");
        if (attributes & FILE_ATTRIBUTE_READONLY)
            throw FileError(file.requested, {ERROR_ACCESS_DENIED, win32Category()},
                            "the file is read-only");
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        throw FileError(file.requested, lastSystemError());
    }

    const std::string name = temporaryNameFor(file.requested);
    Handle h(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr));
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

} // namespace

std::error_code lastSystemError() {
    return {static_cast<int>(GetLastError()), win32Category()};
}

std::string readFileBytes(const std::string& path) {
    Handle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        throw FileError(path, lastSystemError());
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h.get(), &size))
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(h.get(), buffer, sizeof buffer, &n, nullptr))
            throw FileError(path, lastSystemError());
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
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

std::string targetOf(const std::string& path) {
    return path;
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void writeTemporary(PendingFile& file, const std::string& bytes) {
    writeTemporaryFile(file, bytes);
}

std::string keepOldFile(const PendingFile& file) {
    const std::string backup = file.temporary + ".old";
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

} // namespace FileIoSteps
