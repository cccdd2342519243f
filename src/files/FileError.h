#pragma once

#include "platform/Error.h"

#include <string>
#include <system_error>

// A failure to read or write one file: carries the file's path and the operating system's reason.
class FileError : public PlaceError {
public:
    using PlaceError::PlaceError;
    const std::string& path() const noexcept { return place(); }
};

// The last operating system error as an error code (errno, or GetLastError on Windows), for the
// system calls' own files to build a FileError from, right after the call that failed.
std::error_code lastSystemError();
