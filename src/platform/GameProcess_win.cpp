#include "platform/GameProcess.h"

#include "platform/GameProgramNames.h"
#include "platform/VirtualStore.h"
#include "platform/Win32.h"

#include <algorithm>
#include <memory>
#include <tlhelp32.h>
#include <vector>

namespace GameProcess {

namespace {

// A path as the system shows it to people: without the \\?\ mark of long paths, nor a final '\'.
std::wstring plainPath(std::wstring path) {
    if (path.starts_with(L"\\\\?\\UNC\\"))
        path.replace(0, 8, L"\\\\");
    else if (path.starts_with(L"\\\\?\\"))
        path.erase(0, 4);
    while (path.size() > 1 && path.back() == L'\\')
        path.pop_back();
    return path;
}

// The folder as a full path, '/' read as '\' and "." and ".." taken away.
std::wstring fullFolder(const std::string& folder) {
    const std::wstring given = Win32::systemPath(folder);
    std::wstring full(GetFullPathNameW(given.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(
        GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    return plainPath(full);
}

// The user a process runs as, or this process's own; empty when it cannot be read.
std::unique_ptr<char[]> userOf(HANDLE process) {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &opened))
        return nullptr;
    const Win32::Handle token(opened);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    auto user = std::make_unique<char[]>(size);
    if (!size || !GetTokenInformation(token.get(), TokenUser, user.get(), size, &size))
        return nullptr;
    return user;
}

bool sameUser(const char* a, const char* b) {
    return a && b &&
           EqualSid(reinterpret_cast<const TOKEN_USER*>(a)->User.Sid,
                    reinterpret_cast<const TOKEN_USER*>(b)->User.Sid);
}

// Whether the process runs as this user from one of the folders (full paths, compared ignoring
// case).
bool runsFrom(DWORD id, const std::vector<std::wstring>& folders, const char* ownUser) {
    const Win32::Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process.valid() || !sameUser(userOf(process.get()).get(), ownUser))
        return false;
    std::wstring image(32768, L'\0');
    DWORD size = static_cast<DWORD>(image.size());
    if (!QueryFullProcessImageNameW(process.get(), 0, image.data(), &size))
        return false;
    image.resize(size);
    const std::wstring imageFolder = plainPath(image.substr(0, image.find_last_of(L'\\') + 1));
    return std::any_of(folders.begin(), folders.end(), [&](const std::wstring& folder) {
        return CompareStringOrdinal(imageFolder.data(), static_cast<int>(imageFolder.size()),
                                    folder.data(), static_cast<int>(folder.size()),
                                    TRUE) == CSTR_EQUAL;
    });
}

} // namespace

std::optional<Running> runningFrom(const std::string& systemFolder) {
    std::vector<std::wstring> folders;
    try {
        folders.push_back(fullFolder(systemFolder));
        // A VirtualStore copy is the folder of the game that Windows virtualises.
        if (const auto original =
                VirtualStore::originalOf(Win32::utf8(folders[0]), VirtualStore::thisSystem()))
            folders.push_back(fullFolder(*original));
    } catch (const std::system_error&) {
        return std::nullopt; // no folder the game could run from
    }
    const Win32::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid())
        return std::nullopt;
    const auto ownUser = userOf(GetCurrentProcess());
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        std::string program = Win32::utf8(entry.szExeFile);
        if (GameProgramNames::isWindowsProgram(program) &&
            runsFrom(entry.th32ProcessID, folders, ownUser.get()))
            return Running{std::move(program), entry.th32ProcessID};
    }
    return std::nullopt;
}

} // namespace GameProcess
