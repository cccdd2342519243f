#pragma once

#include <string>
#include <vector>

// The search for the game's System folder that both programs run: the main menu by itself, and
// quillon-settings without --system-dir. It tries, in order, the places where the game's
// installers put it, and stops at the first folder that holds QLLoadouts.ini:
//
// In this Windows (on Linux: in the Wine prefix in use, whose folders the programs then name in
// Windows form):
//   1. the install folder from the registry (HKLM, 32-bit view, value Folder of
//      SOFTWARE\Unreal Technology\Installed Apps\UnrealTournament) followed by \System\, then
//      C:\Unreal Tournament, C:\Games\Unreal Tournament and C:\Program files\Unreal Tournament;
//   a. the same value in HKLM's 64-bit view, then in HKCU (32-bit, then 64-bit view);
//   b. C:\UnrealTournament\System\ (the community installers' folder);
//   c. GOG's: HKLM\SOFTWARE\GOG.com\Games\1207658692, value path, plus \System\;
//   d. Steam's folder and each library that its steamapps\libraryfolders.vdf lists, where
//      steamapps\appmanifest_13240.acf names the game's folder below steamapps\common.
// Then, on Linux only (these folders the programs name as POSIX paths):
//   e. Steam for Linux: its libraries, by the same rule, from each of its usual folders;
//   f. the community's Linux build: ${XDG_DATA_HOME:-~/.local/share}/OldUnreal/UnrealTournament;
//   g. Heroic's GOG list: ${XDG_CONFIG_HOME:-~/.config}/heroic/gog_store/installed.json;
//   h. every other Wine prefix: Proton's for the game in each Steam library, each folder in
//      ~/Games and ~/Games/Heroic/Prefixes/default, Bottles' bottles and PlayOnLinux's prefixes,
//      each searched by 1 and a to d.
// It reads only small files at these places and lists only the folders that hold prefixes;
// whatever cannot be read or makes no sense is passed over, and the next place is tried.
namespace InstallSearch {

enum class Outcome {
    Found,    // the folder holds QLLoadouts.ini: the programs use it
    NoFile,   // the folder is there, without QLLoadouts.ini
    NoFolder, // there is no such folder
    Skipped,  // a place that named no folder to look at; reason says why
    Repeated, // a folder or prefix looked at already
};

struct Place {
    Outcome outcome;
    std::string folder; // the folder as the programs would use it, or the file or folder skipped
    std::string route;  // where the search took it from, and in which Wine prefix
    std::string reason; // why it was skipped
};

struct Result {
    std::vector<Place> places; // in the order they were looked at
    std::string systemDir;     // the folder found, as SystemDir takes it; empty when none was
};

// Searches as above. installFolder is the registry's install folder as start-up read it (the
// first place looked at is it followed by \System\).
Result search(const std::string& installFolder);

// The outcome as `quillon-settings where` names it ("found", "no file", ...).
const char* nameOf(Outcome outcome);

// The place in one line as `quillon-settings where` prints it: the outcome, the folder, where
// the search took it from and, for a place skipped, why.
std::string reportLine(const Place& place);

} // namespace InstallSearch
