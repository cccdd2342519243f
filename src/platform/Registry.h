#pragma once

#include <cstdint>
#include <string>

// The program's one registry operation: reading a text value. The registry is never written.
namespace Registry {

// A predefined root key, as the 32-bit handle value Windows gives it.
using RootKey = std::uint32_t;
inline constexpr RootKey HKeyClassesRoot = 0x80000000;
inline constexpr RootKey HKeyCurrentUser = 0x80000001;
inline constexpr RootKey HKeyLocalMachine = 0x80000002;
inline constexpr RootKey HKeyUsers = 0x80000003;

// The text of the value valueName of the key subKeyPath (parts separated by backslashes, no
// leading backslash) below root, as bytes in the ANSI code page, up to its first NUL. Only a
// REG_SZ value counts: a missing key or value, a value of any other type (REG_EXPAND_SZ
// included) or a failing read all give the empty string. Never throws, never shows anything.
//
// On Windows this asks the registry. Elsewhere it reads the Wine prefix's registry file
// ($WINEPREFIX, else ~/.wine: system.reg below HKeyLocalMachine, user.reg below HKeyCurrentUser;
// other roots hold nothing); key and value names compare ignoring letter case, and a file that
// is missing, unreadable or not in Wine's format holds nothing.
std::string ReadRegistryString(RootKey root, const std::string& subKeyPath,
                               const std::string& valueName);

} // namespace Registry
