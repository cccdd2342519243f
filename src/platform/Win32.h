#pragma once

// What every Windows-only file of the program needs at the system calls: names are UTF-8 inside
// the program and UTF-16 at the wide (W) functions, long paths take the \\?\ form, and the
// system's error codes read in its own words. Included by *_win.cpp files only.

#include <string>
#include <string_view>
#include <system_error>
#include <windows.h>

namespace Win32 {

// Win32 error codes (GetLastError) with the system's own wording.
const std::error_category& category();
std::error_code lastError();
inline std::error_code error(DWORD code) {
    return {static_cast<int>(code), category()};
}

// UTF-16 from UTF-8, and back. Bytes that are not well-formed UTF-8 become U+FFFD each; an
// unpaired surrogate becomes U+FFFD.
std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// The path as the wide file functions take it: UTF-16, '/' read as '\'. A path that would reach
// MAX_PATH is made absolute and normalised (GetFullPathNameW) and given the long form: \\?\ and
// the path, or \\?\UNC\ and the server and share of a \\server\share path. Throws
// std::system_error when the path is not well-formed UTF-8 (ERROR_NO_UNICODE_TRANSLATION), is
// empty or holds a character Windows refuses in names (ERROR_INVALID_NAME), or cannot be made
// absolute.
std::wstring systemPath(const std::string& path);

// Closes a handle when it goes out of scope; INVALID_HANDLE_VALUE and null count as none.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            if (valid())
                CloseHandle(h_);
            h_ = other.h_;
            other.h_ = INVALID_HANDLE_VALUE;
        }
        return *this;
    }
    ~Handle() {
        if (valid())
            CloseHandle(h_);
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool close() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

// Ends a FindFirstFileW search when it goes out of scope.
class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (valid())
            FindClose(h_);
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

} // namespace Win32
