#include "FileSearch.h"

#include "AsciiCase.h"
#include "Win32.h"

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

bool holdsPlainFile(const std::string& folder, const std::string& fileName) {
    const std::wstring pattern = pathOrNothing(folder + fileName);
    if (pattern.empty())
        return false;
    WIN32_FIND_DATAW found{};
    const Win32::FindHandle search(FindFirstFileW(pattern.c_str(), &found));
    if (!search.valid())
        return false;
    constexpr DWORD refused =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    bool accepted = false;
    do {
        accepted = (found.dwFileAttributes & refused) == 0 &&
                   AsciiCase::equalIgnoringCase(Win32::utf8(found.cFileName), fileName);
    } while (!accepted && FindNextFileW(search.get(), &found));
    return accepted;
}

bool isFolder(const std::string& folder) {
    const std::wstring path = pathOrNothing(folder);
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace FileSearch
