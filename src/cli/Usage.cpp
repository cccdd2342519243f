#include "cli/Usage.h"

std::string helpText() {
    return R"(Usage:
  quillon-settings [--system-dir DIR] show [--json]
  quillon-settings [--system-dir DIR] get NAME [--json]
  quillon-settings [--system-dir DIR] set [--check] [--json] NAME=VALUE [NAME=VALUE ...]
  quillon-settings where [--json]
  quillon-settings --help | --version

Shows and changes the settings that Brackens' Quillon Tool's two windows edit, in the five
settings files of the game's System folder, with the same conversions and checks.

Commands:
  show   every setting as NAME=VALUE, one a line (--json: one JSON object of strings)
  get    one setting's value (--json: a JSON object with that one member)
  set    changes settings; all values are checked first, then the files whose bytes change
         are written in one save, all or nothing. Nothing is written when any value is
         refused.
         --check: checks the values as set does, writes nothing and prints each setting's
         value before and after, NAME: "BEFORE" -> "AFTER" (or NAME: "VALUE" (as it is)), then
         the files that would be written.
         --json (with or without --check): one JSON object,
           {"changed": true, "files": ["QuillonMod.ini"],
            "settings": {"TimeLimit": {"before": "20", "after": "30"}},
            "systemDir": "/srv/ut/System/"}
         "changed" is true when a byte of a file changed (or would change), and "files"
         names those files; values are shown as get shows them. The exit status is 0
         whether or not anything changed.
  where  every place the search below looks at, in order, one a line: "found" (it holds
         QLLoadouts.ini), "no file", "no folder", "skipped" (with why: a file or folder that
         could not be read, with the system's reason, is too large or makes no sense, a
         registry file that is none, a registry value that is not there or of a type not
         used) or "repeated"; then "install", the
         System folder the game runs from, and "uses", the folder whose files are edited
         (with why when it is another). It copies nothing. Exit status 0 when one is found,
         3 when none is. --json: one JSON object, valid UTF-8 whatever bytes a folder's name
         holds (a byte that is no part of a UTF-8 character is written \udcXX).

Settings (names match ignoring letter case):
  thief1 thief2 thief3 thief4 guard1 guard2 guard3 guard4
                          loadout names, at most 30 characters
  ForceBuying             switch
  Name                    player name, at most 20 characters
  ShowVisibility bTeamMessagesShowLocation AllowDownloads bInvertMouse
  bBalanceTeams bLogIPInChat
                          switches
  MouseSensitivity        at most 4 characters
  PurgeCacheDays TimeLimit GuardStartMoney ThievesStartMoney
                          at most 3 characters
  PercentageLootDropped PercentageToPassVote
                          percentages (35 is stored as 0.35), at most 3 characters
  Switches are set with true, false, 1 or 0 and shown as True or False. A number always takes
  a decimal point. A setting whose key stands in none of the files is told on standard error
  as missing (null in JSON), and cannot be set.

The System folder:
  --system-dir DIR   the game's folder or its System folder ("System" is added when DIR does
                     not end in System, System64 or SystemARM64, as the main menu's "Set"
                     button does); exactly that folder is edited, nothing settled (for a
                     server started with -nohomedir or -sethomedir=DIR)
  Without it, the same search as the main menu, which stops at the first folder holding
  QLLoadouts.ini; wherever it looks at a System folder, it looks at System64 and SystemARM64
  beside it next, when they are there:
   1. the install folder from the registry (HKLM, 32-bit view, SOFTWARE\Unreal Technology\
      Installed Apps\UnrealTournament, value Folder) and System, then C:\Unreal Tournament,
      C:\Games\Unreal Tournament and C:\Program files\Unreal Tournament;
   2. the same value in HKLM's 64-bit view, then in HKCU;
   3. C:\UnrealTournament (the community installers);
   4. GOG: HKLM\SOFTWARE\GOG.com\Games\1207658692, value path;
   5. Steam (HKCU\Software\Valve\Steam SteamPath, else HKLM\SOFTWARE\Valve\Steam
      InstallPath): its folder and every library in steamapps\libraryfolders.vdf (else
      config\libraryfolders.vdf) whose steamapps\appmanifest_13240.acf names the game's
      folder below steamapps\common.
  On Linux 1 to 5 are looked up in the Wine prefix ($WINEPREFIX, else ~/.wine), then:
   6. Steam for Linux: ~/.local/share/Steam, ~/.steam/steam, ~/.steam/root,
      ~/.steam/debian-installation, and Flatpak's and Snap's Steam folders, as in 5, and in
      the game's folder the native builds Luxtorpeda made (linuxdata-*, newest first);
   7. ${XDG_DATA_HOME:-~/.local/share}/OldUnreal/UnrealTournament (the Linux build);
   8. ~/serverfiles (a LinuxGSM server);
   9. Heroic: ${XDG_CONFIG_HOME:-~/.config}/heroic/gog_store/installed.json, then Flathub's
      ~/.var/app/com.heroicgameslauncher.hgl/config/heroic/gog_store/installed.json;
  10. every other Wine prefix, searched by 1 to 5: Proton's (steamapps/compatdata/13240
      in each Steam library), each folder in ~/Games and in Lutris' game_path (its
      system.yml), in ~/Games/Heroic/Prefixes/default, in Bottles' bottles folders (and its
      custom_bottles_path) and PlayOnLinux's (~/.PlayOnLinux/wineprefix); a prefix made for
      Proton is its pfx;
  11. Lutris from Flathub: each folder in the game_path of its system.yml
      (~/.var/app/net.lutris.Lutris/config/lutris, .../data/lutris);
  12. each installed game of Lutris' database (${XDG_DATA_HOME:-~/.local/share}/lutris/pga.db,
      then Flathub's), read-only: its folder as a prefix, or its System folder;
  13. Heroic (its folder, then Flathub's): the games added by hand
      (sideload_apps/library.json), each game's winePrefix (GamesConfig/<game>.json), its
      folder of prefixes and its default prefix (config.json);
  14. every Proton prefix in each Steam library (steamapps/compatdata/*/pfx): a game added to
      Steam by hand runs in its shortcut's;
  15. the desktop entries (${XDG_DATA_HOME:-~/.local/share}/applications, then each
      ${XDG_DATA_DIRS:-/usr/local/share:/usr/share}/applications) whose Exec starts ut-bin,
      ut-bin-amd64, ut-bin-arm64, ut-bin-x86 or UnrealTournament.exe: that program's folder;
  16. Minigalaxy's games (install_dir of its config.json, else ~/GOG Games): each one's System
      folder, then the Wine prefix in its folder;
  17. /usr/local/games/ut, then ~/.local/games/ut (the older Linux builds).
  Then the folder the game reads is edited: a native build's preference folder
  (~/.utpg/System; Luxtorpeda's linuxdata-* builds are native too) when it holds any of the
  five files, or Windows' VirtualStore copy of an unpatched game under Program Files when
  that holds any; the files it lacks are read from the install, and the first set copies them
  there. show, get, where and set --check write nothing. A settings folder that cannot be
  written is told at once: set writes nothing (status 1).

Text:
  Values are UTF-8 on the command line and on output, whatever each file holds. Each settings
  file keeps its own encoding: UTF-16LE after its byte order mark; UTF-8 when it is UTF-8
  holding any byte above 127; otherwise the Windows code page (Windows-1252 on Linux, the
  system's ANSI code page on Windows). An all-ASCII file takes new text in UTF-8 when the
  System folder holds the community patch's Cluster driver (469 or later), else in the code
  page. A value holding a character its file cannot hold is refused. On Windows, output to a
  console window is shown in wide characters; redirected output is UTF-8.

Exit status:
  0 success; 1 a file (or standard output) could not be read or written (the message names
  the file and the reason); 2 a usage error or a refused value; 3 no System folder found;
  4 another program kept the settings files' folder locked (it is saving them) for more than
  five seconds, and nothing was read or written.
)";
}

std::string versionText() {
    return "quillon-settings " QUILLON_VERSION " (Brackens' Quillon Tool)\n";
}
