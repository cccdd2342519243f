#include "Registry.h"

#include <windows.h>

namespace Registry {

namespace {

// Closes a key that was opened; a key that failed to open stays null and needs nothing.
class OpenKey {
public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (key)
            RegCloseKey(key);
    }
    HKEY key = nullptr;
};

HKEY rootHandle(RootKey root) {
    // The predefined handles are sign-extended 32-bit values, as windows.h defines them.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

} // namespace

std::string ReadRegistryString(RootKey root, const std::string& subKeyPath,
                               const std::string& valueName) {
    OpenKey opened;
    // A failed open leaves the key null, so both queries below fail and nothing is returned.
    // The game and its installer are 32-bit programs, so their keys live in the registry's
    // 32-bit view, which a 64-bit build must ask for by name (a 32-bit build sees it anyway).
    if (RegOpenKeyExA(rootHandle(root), subKeyPath.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                      &opened.key) != ERROR_SUCCESS)
        opened.key = nullptr;

    DWORD type = 0;
    DWORD size = 0;
    RegQueryValueExA(opened.key, valueName.c_str(), nullptr, &type, nullptr, &size);
    if (type != REG_SZ)
        return {};

    std::string buffer(size, ' ');
    type = 0;
    if (RegQueryValueExA(opened.key, valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return {};

    // The registry stores the terminator with the text; it and anything after it are dropped.
    if (const auto nul = buffer.find('\0'); nul != std::string::npos)
        buffer.resize(nul);
    return buffer;
}

} // namespace Registry
