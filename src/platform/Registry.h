#pragma once

#include <cstdint>
#include <map>
#include <string>

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

// One Windows registry to read from. On Windows it is the system's own, and the prefix is not
// used. Elsewhere it is a Wine prefix's registry files (system.reg below HKeyLocalMachine,
// user.reg below HKeyCurrentUser; other roots hold nothing), each read once, on first use, and
// only when it is a plain file. In the 32-bit view a key below HKeyLocalMachine\Software is
// looked for first below Software\Wow6432Node, where a 32-bit program's keys go in a 64-bit
// prefix.
class Reader {
public:
    explicit Reader(std::string winePrefix);

    // The text of the value valueName of the key subKeyPath (parts separated by backslashes, no
    // leading backslash) below root, as UTF-8, up to its first NUL. Only a REG_SZ value counts:
    // a missing key or value, a value of any other type (REG_EXPAND_SZ included) or a failing
    // read all give the empty string. Key and value names compare ignoring letter case. Never
    // throws, never shows anything.
    std::string readString(RootKey root, View view, const std::string& subKeyPath,
                           const std::string& valueName);

private:
    std::string prefix_;
    std::map<RootKey, std::string> files_; // the registry files read so far (Wine)
};

// The same read in the 32-bit view of the registry in use: on Windows the system's, elsewhere
// the Wine prefix's ($WINEPREFIX, else ~/.wine).
std::string ReadRegistryString(RootKey root, const std::string& subKeyPath,
                               const std::string& valueName);

} // namespace Registry
