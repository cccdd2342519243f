#pragma once

#include <string>

// Game paths are written as the game's users write them: Windows form ("C:\Games\Unreal
// Tournament\System\QLLoadouts.ini"), or on Linux also POSIX form ("/home/me/ut/System/").
// This turns them into paths the operating system opens.
namespace NativePath {

// On Windows the path itself. Elsewhere a Windows-form path is looked up through the Wine
// prefix's dosdevices folder, and each part of the path is matched ignoring letter case when
// its exact spelling does not exist. A part that matches nothing is kept as written, so the
// path still names what was missing.
std::string resolve(const std::string& gamePath);

// The same in the given Wine prefix rather than the one in use. On Windows the path itself.
std::string resolve(const std::string& gamePath, const std::string& prefix);

// Whether a typed path uses '/' as its separator (POSIX form). Always false on Windows.
bool isPosixForm(const std::string& gamePath);

// The Wine prefix in use: $WINEPREFIX, else ~/.wine. Empty on Windows.
std::string winePrefix();

} // namespace NativePath
