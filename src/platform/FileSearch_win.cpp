#include "FileSearch.h"

#include "AsciiCase.h"

#include <windows.h>

namespace FileSearch {

bool holdsPlainFile(const std::string& folder, const std::string& fileName) {
    WIN32_FIND_DATAA found{};
    const std::string pattern = folder + fileName;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    constexpr DWORD refused =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    bool accepted = false;
    do {
        accepted = (found.dwFileAttributes & refused) == 0 &&
                   AsciiCase::equalIgnoringCase(found.cFileName, fileName);
    } while (!accepted && FindNextFileA(search, &found));
    FindClose(search);
    return accepted;
}

} // namespace FileSearch
