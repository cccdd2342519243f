#include "files/FileError.h"

namespace {

std::string reasonOf(const std::error_code& code, const std::string& detail) {
    return detail.empty() ? code.message() : detail;
}

} // namespace

FileError::FileError(std::string path, std::error_code reason)
    : FileError(std::move(path), reason, std::string()) {}

FileError::FileError(std::string path, std::error_code reason, std::string detail)
    : Error(path + ": " + reasonOf(reason, detail)), path_(std::move(path)), code_(reason),
      detail_(std::move(detail)) {}

std::string FileError::reason() const {
    return reasonOf(code_, detail_);
}
