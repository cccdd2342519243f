#include "platform/Registry.h"

#include "platform/Win32.h"

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

Reader::Reader(std::string winePrefix) : prefix_(std::move(winePrefix)) {}

std::string Reader::readString(RootKey root, View view, const std::string& subKeyPath,
                               const std::string& valueName) {
    const std::wstring key = Win32::wide(subKeyPath);
    const std::wstring name = Win32::wide(valueName);
    OpenKey opened;
    // A failed open leaves the key null, so both queries below fail and nothing is returned.
    const REGSAM viewFlag = view == View::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    if (RegOpenKeyExW(rootHandle(root), key.c_str(), 0, KEY_QUERY_VALUE | viewFlag, &opened.key) !=
        ERROR_SUCCESS)
        opened.key = nullptr;

    DWORD type = 0;
    DWORD size = 0;
    RegQueryValueExW(opened.key, name.c_str(), nullptr, &type, nullptr, &size);
    if (type != REG_SZ)
        return {};

    // The size is in bytes; a value stored with an odd number of them gets room for one more.
    std::wstring buffer((size + 1) / sizeof(wchar_t), L' ');
    type = 0;
    if (RegQueryValueExW(opened.key, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return {};
    buffer.resize(size / sizeof(wchar_t));

    // The registry stores the terminator with the text; it and anything after it are dropped.
    if (const auto nul = buffer.find(L'\0'); nul != std::wstring::npos)
        buffer.resize(nul);
    return Win32::utf8(buffer);
}

std::string ReadRegistryString(RootKey root, const std::string& subKeyPath,
                               const std::string& valueName) {
    return Reader({}).readString(root, View::Bits32, subKeyPath, valueName);
}

} // namespace Registry
