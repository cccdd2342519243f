#pragma once

#include "platform/Error.h"

#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <system_error>

// Reading text values of the Windows registry. The registry is never written.
namespace Registry {

// A predefined root key, as the 32-bit handle value Windows gives it.
using RootKey = std::uint32_t;
inline constexpr RootKey HKeyClassesRoot = 0x80000000;
inline constexpr RootKey HKeyCurrentUser = 0x80000001;
inline constexpr RootKey HKeyLocalMachine = 0x80000002;
inline constexpr RootKey HKeyUsers = 0x80000003;

// Which of the two registries a 64-bit Windows keeps below HKEY_LOCAL_MACHINE\Software: the one
// 32-bit programs (the game and its installers) see, or the one 64-bit programs see.
enum class View { Bits32, Bits64 };

// A value as the registry holds it.
struct Value {
    std::string type;                // its type's name: "REG_SZ", "REG_EXPAND_SZ", "REG_DWORD", ...
    std::optional<std::string> text; // a REG_SZ value's text as UTF-8, up to its first NUL;
                                     // nothing for any other type, or text that is not well-formed
};

// The name of a registry value type ("REG_SZ"), or "type N" for one without a name.
std::string typeName(std::uint32_t type);

// The registry could not be read: a Wine registry file that cannot be read, is too big or is no
// registry file at all, or a key of Windows' registry that cannot be opened. Carries what could
// not be read (the file's path, or the key) and the system's reason.
class Unreadable : public PlaceError {
public:
    using PlaceError::PlaceError;
};

// One Windows registry to read from. On Windows it is the system's own, and the prefix is not
// used. Elsewhere it is a Wine prefix's registry files (system.reg below HKeyLocalMachine,
// user.reg below HKeyCurrentUser; other roots hold nothing), each read once, on first use, and
// only when it is a plain file of at most 64 MiB (a UTF-8 byte order mark before its first line
// is passed over). In the 32-bit view a key below HKeyLocalMachine\Software is looked for first
// below Software\Wow6432Node, where a 32-bit program's keys go in a 64-bit prefix.
class Reader {
public:
    explicit Reader(std::string winePrefix);

    // The value valueName of the key subKeyPath (parts separated by backslashes, no leading
    // backslash) below root. Key and value names compare ignoring letter case. Nothing when the
    // key or the value is missing. Throws Unreadable when the registry cannot be read there;
    // shows nothing.
    std::optional<Value> readValue(RootKey root, View view, const std::string& subKeyPath,
                                   const std::string& valueName);

private:
    std::string prefix_;
    // The registry files read so far (Wine): their text, or why they could not be read.
    std::map<RootKey, std::pair<std::string, std::exception_ptr>> files_;
};

// The text of a REG_SZ value in the 32-bit view of the registry in use (on Windows the system's,
// elsewhere the Wine prefix's: $WINEPREFIX, else ~/.wine), up to its first NUL. A missing key or
// value, a value of any other type (REG_EXPAND_SZ included) or a failing read all give the empty
// string. Never throws, never shows anything.
std::string ReadRegistryString(RootKey root, const std::string& subKeyPath,
                               const std::string& valueName);

} // namespace Registry
