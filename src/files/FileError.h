#pragma once

#include <string>
#include <system_error>

// A failure to read or write one file: carries the file's path and the operating system's reason.
class FileError : public std::system_error {
public:
    FileError(std::string path, std::error_code reason);
    // For failures that the system's own wording would not explain (an over-long file, a UTF-16
    // file, a pipe where a file should be): detail is the reason as the user should read it.
    FileError(std::string path, std::error_code reason, std::string detail);

    const std::string& path() const noexcept { return path_; }
    // The reason alone, as the user should read it.
    std::string reason() const;
    // The path and the reason, each once.
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::string path_;
    std::string detail_;
    std::string what_;
};

// The last operating system error as an error code (errno, or GetLastError on Windows).
std::error_code lastSystemError();
