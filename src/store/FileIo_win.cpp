#include "FileIo.h"

#include "FileError.h"

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

struct PendingFile {
    std::string requested;
    std::string temporary;
};

std::string temporaryNameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + ".~" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) +
           ".tmp";
}

void writeTemporary(PendingFile& file, const std::string& bytes) {
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

void replaceFiles(std::span<const FileImage> images) {
    std::vector<PendingFile> files;
    files.reserve(images.size());
    auto removeTemporaries = [&files](std::size_t from) {
        for (std::size_t i = from; i < files.size(); ++i)
            if (!files[i].temporary.empty())
                DeleteFileA(files[i].temporary.c_str());
    };
    try {
        for (const auto& image : images) {
            files.push_back({image.path, {}});
            writeTemporary(files.back(), image.bytes);
        }
    } catch (...) {
        removeTemporaries(0);
        throw;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const char* target = files[i].requested.c_str();
        const char* temporary = files[i].temporary.c_str();
        // ReplaceFile keeps the target's attributes and security; a missing target is moved into
        // place.
        if (ReplaceFileA(target, temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                         nullptr))
            continue;
        const auto reason = lastSystemError();
        // ReplaceFile may give up after moving the old file out of the way; then the new
        // contents exist only in the temporary file, which must not be deleted.
        const bool oldMovedAway = reason.value() == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
                                  reason.value() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
        if (reason.value() != ERROR_FILE_NOT_FOUND && !oldMovedAway) {
            removeTemporaries(i);
            throw FileError(files[i].requested, reason);
        }
        if (!MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const auto moveReason = lastSystemError();
            const bool keep = oldMovedAway && GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES;
            removeTemporaries(keep ? i + 1 : i);
            if (!keep)
                throw FileError(files[i].requested, moveReason);
            throw FileError(files[i].requested, moveReason,
                            "the file could not be replaced; its new contents are kept in " +
                                files[i].temporary + " (" + moveReason.message() + ")");
        }
    }
}
