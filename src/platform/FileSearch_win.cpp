#include "platform/FileSearch.h"

#include "platform/AsciiCase.h"
#include "platform/Win32.h"

namespace FileSearch {

namespace {

// The path as the wide functions take it; empty when it cannot name anything.
std::wstring pathOrNothing(const std::string& path) {
    try {
        return Win32::systemPath(path);
    } catch (const std::system_error&) {
        return {};
    }
}

} // namespace

Look look(const std::string& folder, const std::string& fileName, NativePath::Listings*) {
    const std::wstring pattern = pathOrNothing(folder + fileName);
    if (pattern.empty())
        return {Finding::NoFolder};
    WIN32_FIND_DATAW found{};
    const Win32::FindHandle search(FindFirstFileW(pattern.c_str(), &found));
    if (!search.valid()) {
        switch (const DWORD error = GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
            return {Finding::NoFile};
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_DRIVE:
            return {Finding::NoFolder};
        default: // refused, a drive not ready, a share gone: the system says why
            return {Finding::Unreadable, folder, Win32::error(error)};
        }
    }
    constexpr DWORD refused =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    bool accepted = false;
    do {
        accepted = (found.dwFileAttributes & refused) == 0 &&
                   AsciiCase::equalIgnoringCase(Win32::utf8(found.cFileName), fileName);
    } while (!accepted && FindNextFileW(search.get(), &found));
    return {accepted ? Finding::File : Finding::NoFile};
}

} // namespace FileSearch
