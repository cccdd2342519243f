#pragma once

#include <string>
#include <vector>

// The search for the game's System folder that both programs run: the main menu by itself, and
// quillon-settings without --system-dir. It tries, in order, the places where the game's
// installers put it, and stops at the first folder that holds QLLoadouts.ini. Wherever it looks
// at a System folder, it then looks at System64 and SystemARM64 beside it, when they are there.
//
// In this Windows (on Linux: in the Wine prefix in use, whose folders the programs then name in
// Windows form):
//   1. the install folder from the registry (HKLM, 32-bit view, value Folder of
//      SOFTWARE\Unreal Technology\Installed Apps\UnrealTournament) followed by \System\, then
//      C:\Unreal Tournament, C:\Games\Unreal Tournament and C:\Program files\Unreal Tournament;
//   a. the same value in HKLM's 64-bit view, then in HKCU (32-bit, then 64-bit view);
//   b. C:\UnrealTournament\System\ (the community installers' folder);
//   c. GOG's: HKLM\SOFTWARE\GOG.com\Games\1207658692, value path, plus \System\;
//   d. Steam's folder and each library that its steamapps\libraryfolders.vdf (else
//      config\libraryfolders.vdf) lists, where steamapps\appmanifest_13240.acf names the game's
//      folder below steamapps\common.
// Then, on Linux only (these folders the programs name as POSIX paths):
//   e. Steam for Linux: its libraries, by the same rule, from each of its usual folders, and in
//      the game's folder the native builds Luxtorpeda makes (linuxdata-*, newest first);
//   f. the community's Linux build: ${XDG_DATA_HOME:-~/.local/share}/OldUnreal/UnrealTournament;
//   g. LinuxGSM's server: ~/serverfiles;
//   h. Heroic's GOG list: ${XDG_CONFIG_HOME:-~/.config}/heroic/gog_store/installed.json, then
//      the same in Flathub's Heroic (~/.var/app/com.heroicgameslauncher.hgl/config/heroic);
//   i. every other Wine prefix: Proton's for the game in each Steam library, each folder in
//      ~/Games and in the folder Lutris' system.yml names (game_path), in
//      ~/Games/Heroic/Prefixes/default, Bottles' bottles (and those in the folder Bottles'
//      data.yml names, custom_bottles_path) and PlayOnLinux's prefixes, each searched by 1 and
//      a to d; a prefix made for Proton is the folder's pfx;
//   j. Lutris from Flathub: the folder its system.yml names (~/.var/app/net.lutris.Lutris);
//   k. each installed game of Lutris' database (pga.db, then Flathub's): its folder as a Wine
//      prefix, or its System folder;
//   l. Heroic's games added by hand (sideload_apps/library.json), each game's winePrefix
//      (GamesConfig/<game>.json) and its folder of prefixes and default prefix (config.json),
//      each in Heroic's folder, then in Flathub's;
//   m. every prefix in each Steam library's steamapps/compatdata (a game added to Steam by hand
//      runs in the prefix of its shortcut's number);
//   n. the desktop entries, the user's then the system's, whose command line starts ut-bin,
//      ut-bin-amd64, ut-bin-arm64, ut-bin-x86 or UnrealTournament.exe: that program's folder;
//   o. Minigalaxy's games (its install_dir, else ~/GOG Games): each game's System folder, then
//      the Wine prefix it keeps in the game's folder;
//   p. the older Linux builds' folders: /usr/local/games/ut and ~/.local/games/ut.
// It reads only small files (and Lutris' database) at these places and lists only the folders
// that hold prefixes or games; whatever cannot be read or makes no sense is passed over with the
// reason (the system's own, "Permission denied" say, for a place that may not be read), and the
// next place is tried. Each folder is looked at once, however many routes reach it, and each
// folder read to match letter case is read once.
//
// Once it has found the install, it settles the folder whose settings files the game reads
// (SettingsFolder.h): the native game's preference folder, or Windows' VirtualStore copy.
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
    // The folder whose settings files the programs edit, as SystemDir takes it; empty when no
    // folder was found.
    std::string systemDir;
    // The install's System folder that the game runs from: the folder found or, for a native
    // build, the System64 or SystemARM64 beside it that this machine runs.
    std::string installDir;
    std::string why;                 // why systemDir is the folder it is; empty for the install
    std::vector<std::string> toCopy; // settings files systemDir lacks: read from installDir, and
                                     // copied there by the first save
                                     // before they are loaded
};

// Searches as above, and settles the folder the game reads. installFolder is the registry's
// install folder as start-up read it (the first place looked at is it followed by \System\).
Result search(const std::string& installFolder);

// The outcome as `quillon-settings where` names it ("found", "no file", ...).
const char* nameOf(Outcome outcome);

// The place in one line as `quillon-settings where` prints it: the outcome, the folder, where
// the search took it from and, for a place skipped, why.
std::string reportLine(const Place& place);

} // namespace InstallSearch
