#include "install/SmallFile.h"

#include "files/FileError.h"
#include "files/FileIo.h"
#include "platform/FolderIdentity.h"

#include <filesystem>

namespace SmallFile {

std::string read(const std::string& nativePath) {
    try {
        FileStamp stamp;
        const ByteBlock block = readPlainFile(nativePath, MaxBytes, stamp);
        std::string_view bytes = block.view();
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.remove_prefix(3);
        return std::string(bytes);
    } catch (const FileError& error) {
        // The reason of a file that is there but too big is said in this size, not the store's.
        const auto stamp = error.code() == std::errc::no_such_file_or_directory
                               ? std::nullopt
                               : stampOf(nativePath);
        if (stamp && stamp->size > MaxBytes)
            throw FileError(nativePath, error.code(), "bigger than 1 MiB");
        throw;
    }
}

bool isMissing(const std::string& nativePath) {
    std::error_code error;
    const auto status = std::filesystem::status(nativePath, error);
    return status.type() == std::filesystem::file_type::not_found || (error && meansMissing(error));
}

} // namespace SmallFile
