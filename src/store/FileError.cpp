#include "FileError.h"

FileError::FileError(std::string path, std::error_code reason)
    : std::system_error(reason, path), path_(std::move(path)) {}

FileError::FileError(std::string path, std::error_code reason, const std::string& detail)
    : std::system_error(reason, path + ": " + detail), path_(std::move(path)), detail_(detail) {}

std::string FileError::reason() const {
    return detail_.empty() ? code().message() : detail_;
}
