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

std::string rootName(RootKey root) {
    return root == HKeyCurrentUser ? "HKCU\\" : root == HKeyLocalMachine ? "HKLM\\" : "";
}

} // namespace

Reader::Reader(std::string winePrefix) : prefix_(std::move(winePrefix)) {}

std::optional<Value> Reader::readValue(RootKey root, View view, const std::string& subKeyPath,
                                       const std::string& valueName) {
    const std::wstring key = Win32::wide(subKeyPath);
    const std::wstring name = Win32::wide(valueName);
    OpenKey opened;
    const REGSAM viewFlag = view == View::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    LSTATUS status =
        RegOpenKeyExW(rootHandle(root), key.c_str(), 0, KEY_QUERY_VALUE | viewFlag, &opened.key);
    if (status == ERROR_SUCCESS) {
        DWORD type = 0;
        DWORD size = 0;
        status = RegQueryValueExW(opened.key, name.c_str(), nullptr, &type, nullptr, &size);
        if (status == ERROR_SUCCESS && type != REG_SZ)
            return Value{typeName(type), std::nullopt};
        // The size is in bytes; a value stored with an odd number of them gets room for one more.
        std::wstring buffer((size + 1) / sizeof(wchar_t), L' ');
        if (status == ERROR_SUCCESS)
            status = RegQueryValueExW(opened.key, name.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_SUCCESS && type == REG_SZ) {
            buffer.resize(size / sizeof(wchar_t));
            // The registry stores the terminator with the text; it and what follows are dropped.
            if (const auto nul = buffer.find(L'\0'); nul != std::wstring::npos)
                buffer.resize(nul);
            return Value{"REG_SZ", Win32::utf8(buffer)};
        }
    }
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND)
        return std::nullopt;
    throw Unreadable(rootName(root) + subKeyPath + " " + valueName,
                     Win32::error(static_cast<DWORD>(status)));
}

} // namespace Registry
