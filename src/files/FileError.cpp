#include "files/FileError.h"

FileError::FileError(std::string path, std::error_code reason)
    : FileError(std::move(path), reason, std::string()) {}

FileError::FileError(std::string path, std::error_code reason, std::string detail)
    : std::system_error(reason), path_(std::move(path)), detail_(std::move(detail)),
      what_(path_ + ": " + this->reason()) {}

std::string FileError::reason() const {
    return detail_.empty() ? code().message() : detail_;
}
