#pragma once

#include <string>
#include <system_error>

// A failure to read or write one file: carries the file's path and the operating system's reason.
class FileError : public std::system_error {
public:
    FileError(std::string path, std::error_code reason);
    // For failures that are not an operating system error (an over-long file, a UTF-16 file).
    FileError(std::string path, std::error_code reason, const std::string& detail);

    const std::string& path() const noexcept { return path_; }
    // The reason alone, as the user should read it.
    std::string reason() const;

private:
    std::string path_;
    std::string detail_;
};

// The last operating system error as an error code (errno, or GetLastError on Windows).
std::error_code lastSystemError();
