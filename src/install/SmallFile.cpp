#include "install/SmallFile.h"

#include "files/FileError.h"
#include "files/FileIo.h"

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

} // namespace SmallFile
