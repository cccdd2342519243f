#include "platform/FolderIdentity.h"

#include "platform/Win32.h"

std::optional<FolderIdentity> folderIdentity(const std::string& nativePath) {
    std::wstring name;
    try {
        name = Win32::systemPath(nativePath);
    } catch (const std::system_error&) {
        return std::nullopt; // a name Windows refuses names no folder
    }
    // A folder opens only with backup semantics; asking for no access needs no rights on it.
    const Win32::Handle folder(
        CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder.valid() || !GetFileInformationByHandle(folder.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber,
                          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                              info.nFileIndexLow};
}

std::error_code whyNoFolder(const std::string& nativePath) {
    std::wstring name;
    try {
        name = Win32::systemPath(nativePath);
    } catch (const std::system_error&) {
        return std::make_error_code(std::errc::no_such_file_or_directory);
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Win32::lastError();
    return (attributes & FILE_ATTRIBUTE_DIRECTORY)
               ? std::error_code()
               : std::make_error_code(std::errc::not_a_directory);
}
