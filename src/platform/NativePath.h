#pragma once

#include <map>
#include <string>
#include <vector>

// Game paths are written as the game's users write them: Windows form ("C:\Games\Unreal
// Tournament\System\QLLoadouts.ini"), or on Linux also POSIX form ("/home/me/ut/System/").
// This turns them into paths the operating system opens.
namespace NativePath {

// The names in folders, each folder read once, for a run of look-ups that expects no change on
// disk meanwhile: a search of many places reads its drives' top folders once, not once a place.
// Not used on Windows.
class Listings {
public:
    // The names in the folder; empty when it cannot be read.
    const std::vector<std::string>& namesIn(const std::string& folder);
    // The names in the folder when it has been read; nothing otherwise.
    const std::vector<std::string>* known(const std::string& folder) const;

private:
    std::map<std::string, std::vector<std::string>> folders_;
};

// On Windows the path itself. Elsewhere a Windows-form path is looked up through the Wine
// prefix's dosdevices folder, and each part of the path is matched ignoring letter case when
// its exact spelling does not exist. A part that matches nothing is kept as written, so the
// path still names what was missing.
std::string resolve(const std::string& gamePath);

// The same in the given Wine prefix rather than the one in use, with the listings of folders
// read so far (when given); onDisk (when given) tells whether every part was found. On Windows
// the path itself.
std::string resolve(const std::string& gamePath, const std::string& prefix,
                    Listings* listings = nullptr, bool* onDisk = nullptr);

// Whether a typed path uses '/' as its separator (POSIX form). Always false on Windows.
bool isPosixForm(const std::string& gamePath);

// The Wine prefix in use: $WINEPREFIX, else ~/.wine. Empty on Windows.
std::string winePrefix();

} // namespace NativePath
