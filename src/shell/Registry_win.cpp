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
    RegOpenKeyA(rootHandle(root), subKeyPath.c_str(), &opened.key);

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
