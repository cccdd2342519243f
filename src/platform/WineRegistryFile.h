#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reading values out of a Wine registry file (system.reg, user.reg): the text form in which Wine
// keeps a Windows registry on disk.
namespace WineRegistryFile {

// The REG_SZ value valueName (empty for the key's default value) of the key keyPath, from the
// whole text of a registry file. Key and value names compare ignoring letter case. The text is
// the value's stored characters, terminator and anything after an embedded NUL included.
// Nothing when the file is not in Wine's format, the key or value is missing, the value is of
// another type, or its line is malformed.
std::optional<std::u16string> findString(std::string_view fileText, std::u16string_view keyPath,
                                         std::u16string_view valueName);

} // namespace WineRegistryFile
