#include "SmallFile.h"

#include "FileError.h"
#include "FileIoSteps.h"

namespace SmallFile {

std::optional<std::string> read(const std::string& nativePath, std::string& why) {
    try {
        FileIoSteps::FileStamp stamp;
        const ByteBlock bytes = FileIoSteps::readPlainFile(nativePath, MaxBytes, stamp);
        return std::string(bytes.view());
    } catch (const FileError& error) {
        // The reason of a file that is there but too big is said in this size, not the store's.
        const auto stamp = error.code() == std::errc::no_such_file_or_directory
                               ? std::nullopt
                               : FileIoSteps::stampOf(nativePath);
        why = stamp && stamp->size > MaxBytes ? "bigger than 1 MiB" : error.reason();
    }
    return std::nullopt;
}

} // namespace SmallFile
