#pragma once

#include "platform/Error.h"

#include <string>
#include <system_error>

// A failure to read or write one file: carries the file's path and the operating system's reason.
class FileError : public Error {
public:
    FileError(std::string path, std::error_code reason);
    // For failures that the system's own wording would not explain (an over-long file, a UTF-16
    // file, a pipe where a file should be): detail is the reason as the user should read it.
    FileError(std::string path, std::error_code reason, std::string detail);

    const std::string& path() const noexcept { return path_; }
    // The operating system's reason, or the closest one.
    const std::error_code& code() const noexcept { return code_; }
    // The reason alone, as the user should read it.
    std::string reason() const;

private:
    std::string path_;
    std::error_code code_;
    std::string detail_;
};

// The last operating system error as an error code (errno, or GetLastError on Windows), for the
// system calls' own files to build a FileError from, right after the call that failed.
std::error_code lastSystemError();
