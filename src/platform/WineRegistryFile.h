#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reading values out of a Wine registry file (system.reg, user.reg): the text form in which Wine
// keeps a Windows registry on disk.
namespace WineRegistryFile {

// Whether the text is that of a Wine registry file: its first line, after a UTF-8 byte order mark
// if there is one, is Wine's.
bool isRegistryFile(std::string_view fileText);

// A value as the file holds it.
struct StoredValue {
    std::uint32_t type; // REG_SZ 1, REG_EXPAND_SZ 2, ...; UnknownType for a form Wine never writes
    // A REG_SZ value's stored characters, terminator and anything after an embedded NUL
    // included; nothing for another type, or when its line is malformed.
    std::optional<std::u16string> text;
};
inline constexpr std::uint32_t UnknownType = 0xFFFFFFFF;

// The value valueName (empty for the key's default value) of the key keyPath, from the whole text
// of a registry file. Key and value names compare ignoring letter case. Nothing when the file is
// not in Wine's format or the key or value is missing.
std::optional<StoredValue> findValue(std::string_view fileText, std::u16string_view keyPath,
                                     std::u16string_view valueName);

} // namespace WineRegistryFile
