// The search on layouts of the players' installs made in a home of the test's own: each route,
// their order, and broken files passed over for the next place. Some rows also run the real
// `quillon-settings where`.
#include "RunProgram.h"
#include "ScratchHome.h"
#include "install/GamePaths.h"
#include "install/InstallSearch.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using Step = std::function<void(const ScratchHome&)>;

// The text with each "~" standing for the home.
std::string inHome(std::string text, const ScratchHome& home) {
    for (auto at = text.find('~'); at != std::string::npos; at = text.find('~', at + 1))
        text.replace(at, 1, home.path().string());
    return text;
}

std::string doubled(std::string text) {
    for (auto at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 2))
        text.insert(at, 1, '\\');
    return text;
}

Step file(const std::string& at, const std::string& bytes) {
    return [=](const ScratchHome& home) { home.put(at, inHome(bytes, home)); };
}
Step game(const std::string& folder) {
    return file(folder + "/QLLoadouts.ini", "[Loadouts]\r\n");
}
// Something made at a path below the home, its folders first.
Step made(const std::string& at, const std::function<void(const fs::path&)>& make) {
    return [=](const ScratchHome& home) {
        fs::create_directories((home.path() / at).parent_path());
        make(home.path() / at);
    };
}
Step link(const std::string& at, const std::string& target) {
    return made(at, [=](const fs::path& path) { fs::create_symlink(target, path); });
}
Step pipe(const std::string& at) {
    return made(at, [](const fs::path& path) { ::mkfifo(path.c_str(), 0600); });
}
// What a Python script (each "~" the home) makes at a path below the home, its folders first,
// with Debian's python3: YAML as PyYAML writes it, a database as SQLite writes it.
Step python(const std::string& at, const std::string& script) {
    return [=](const ScratchHome& home) {
        fs::create_directories((home.path() / at).parent_path());
        const ProgramRun run =
            runProgram("/usr/bin/python3", {"-c", inHome(script, home)}, home.path());
        ASSERT_EQ(run.status, 0) << run.err;
    };
}
// Lutris' database holding one game (runner, directory) as Lutris' own schema has it.
Step lutrisDatabase(const std::string& at, const std::string& runner, const std::string& dir) {
    return python(at,
                  "import sqlite3; db = sqlite3.connect('~/" + at +
                      "'); db.execute('CREATE TABLE "
                      "games (id INTEGER PRIMARY KEY, name TEXT, slug TEXT, runner TEXT, directory "
                      "TEXT, installed INTEGER, configpath TEXT)'); db.execute(\"INSERT INTO games "
                      "VALUES (1, 'Other', 'other', 'wine', '~/Gone', 0, 'other'), (2, 'Unreal "
                      "Tournament', 'unreal-tournament', '" +
                      runner + "', '" + dir +
                      "', 1, "
                      "'unreal-tournament')\"); db.commit()");
}
const std::string RegHead = "WINE REGISTRY Version 2\n\n#arch=win64\n\n";
// A Wine prefix with drive C:, D: linked to drive_d and no registry values yet.
Step prefix(const std::string& at) {
    return [=](const ScratchHome& home) {
        home.put(at + "/system.reg", RegHead);
        home.put(at + "/user.reg", RegHead);
        fs::create_directories(home.path() / at / "drive_c");
        link(at + "/dosdevices/c:", "../drive_c")(home);
        link(at + "/dosdevices/d:", "../drive_d")(home);
    };
}
// A value in the prefix's system.reg (machine) or user.reg, as Wine writes it after the "=":
// a text value in quotes unless told otherwise.
Step reg(const std::string& prefix, bool machine, const std::string& key, const std::string& name,
         const std::string& value, const std::string& type = "") {
    return [=](const ScratchHome& home) {
        home.put(prefix + (machine ? "/system.reg" : "/user.reg"),
                 "[" + doubled(key) + "]\n\"" + name + "\"=" + type + "\"" + doubled(value) +
                     "\"\n",
                 true);
    };
}
std::string vdf(const std::vector<std::string>& libraries) {
    std::string text = "\"libraryfolders\"\n{\n";
    for (std::size_t i = 0; i < libraries.size(); ++i)
        text += "\t\"" + std::to_string(i) + "\"\n\t{\n\t\t\"path\"\t\t\"" + doubled(libraries[i]) +
                "\"\n\t\t\"apps\" { \"13240\" \"1\" }\n\t}\n";
    return text + "}\n";
}
std::string acf(const std::string& dir) {
    return "\"AppState\"\n{\n\t\"appid\"\t\t\"13240\"\n\t\"installdir\"\t\t\"" + dir + "\"\n}\n";
}

const bool LM = true, CU = false;
const std::string UT = "Software\\Unreal Technology\\Installed Apps\\UnrealTournament";
const std::string Steam = ".local/share/Steam/steamapps";
const std::string Acf = Steam + "/appmanifest_13240.acf";
// Where the last route finds the game, after a broken place before it.
const Step Later[] = {prefix(".PlayOnLinux/wineprefix/UT"),
                      game(".PlayOnLinux/wineprefix/UT/drive_c/UnrealTournament/System")};
const char* const LaterFound = "~/.PlayOnLinux/wineprefix/UT/drive_c/UnrealTournament/System/";
// Where the last route finds the game, after a broken place of a route after PlayOnLinux.
const Step Last = game(".local/games/ut/System");
const char* const LastFound = "~/.local/games/ut/System/";
const std::string Applications = ".local/share/applications/";
const std::string LutrisDb = ".local/share/lutris/pga.db";
const std::string Heroic = ".config/heroic/";
// A Wine prefix holding the game where the community's installers put it.
Step prefixWithGame(const std::string& at) {
    return [=](const ScratchHome& home) {
        prefix(at)(home);
        game(at + "/drive_c/UnrealTournament/System")(home);
    };
}

struct Layout {
    const char* name;
    std::vector<Step> steps;
    std::string found;      // the folder chosen ("~" for the home); empty for none
    std::string place = {}; // a fragment of the line that reports one place
    bool runWhere = false;  // also run quillon-settings where
    bool later = false;     // add the Later steps
    std::string json = {};  // a fragment of `where --json`'s output, which is valid UTF-8
};

void PrintTo(const Layout& layout, std::ostream* os) {
    *os << layout.name;
}

// clang-format off
const std::vector<Layout> Layouts = {
    {"nothingAnywhere", {}, "", "no folder ~/.PlayOnLinux/wineprefix  (PlayOnLinux)", true},
    {"registryFolderStillComesFirst", {prefix(".wine"), reg(".wine", LM, UT, "Folder", "C:\\Quillon"),
     game(".wine/drive_c/Quillon/System"), game(".wine/drive_c/UnrealTournament/System"),
     file(Acf, acf("UT")), game(Steam + "/common/UT/System")}, "C:\\Quillon\\System\\", "", true},
    {"fixedFolderBeforeOtherViews", {prefix(".wine"), reg(".wine", CU, UT, "Folder", "C:\\Mine"),
     game(".wine/drive_c/Mine/System"), game(".wine/drive_c/games/unreal tournament/system")},
     "C:\\Games\\Unreal Tournament\\System\\"},
    {"machine64BitView", {prefix(".wine"), reg(".wine", LM, "Software\\Wow6432Node\\" + UT.substr(9), "Folder", "C:\\Old"),
     reg(".wine", LM, UT, "Folder", "C:\\UT64"), game(".wine/drive_c/UT64/System")}, "C:\\UT64\\System\\",
     "no folder C:\\Old\\System\\  (registry Folder, HKLM 32-bit"},
    {"currentUser", {prefix(".wine"), reg(".wine", CU, UT, "Folder", "C:\\Mine"), game(".wine/drive_c/Mine/System")},
     "C:\\Mine\\System\\", "skipped   HKLM\\SOFTWARE\\Unreal Technology\\Installed Apps\\UnrealTournament "
     "Folder  (registry Folder, HKLM 64-bit, Wine prefix ~/.wine): no such value"},
    {"communityInstaller", {prefix(".wine"), game(".wine/drive_c/UnrealTournament/System")},
     "C:\\UnrealTournament\\System\\"},
    {"gog", {prefix(".wine"), reg(".wine", LM, "Software\\Wow6432Node\\GOG.com\\Games\\1207658692", "path",
     "C:\\GOG Games\\UT"), game(".wine/drive_c/GOG Games/UT/System")}, "C:\\GOG Games\\UT\\System\\"},
    {"steamForWindowsLibraryOnDriveD", {prefix(".wine"), reg(".wine", CU, "Software\\Valve\\Steam", "SteamPath",
     "c:/program files (x86)/steam"), file(".wine/drive_c/Program Files (x86)/Steam/steamapps/libraryfolders.vdf",
     vdf({"C:\\Program Files (x86)\\Steam", "E:\\Gone", "D:\\SteamLibrary"})),
     file(".wine/drive_d/SteamLibrary/steamapps/appmanifest_13240.acf", acf("Unreal Tournament")),
     game(".wine/drive_d/SteamLibrary/steamapps/common/Unreal Tournament/System")},
     "D:\\SteamLibrary\\steamapps\\common\\Unreal Tournament\\System\\",
     "skipped   E:\\Gone  (Steam, Wine prefix ~/.wine): drive E: leads nowhere"},
    {"steamForWindowsMachineKey", {prefix(".wine"), reg(".wine", LM, "Software\\Wow6432Node\\Valve\\Steam",
     "InstallPath", "C:\\Steam"), file(".wine/drive_c/Steam/steamapps/appmanifest_13240.acf", acf("UT")),
     game(".wine/drive_c/Steam/steamapps/common/UT/System")}, "C:\\Steam\\steamapps\\common\\UT\\System\\"},
    {"steamForLinuxSecondLibrary", {file(Steam + "/libraryfolders.vdf", vdf({"~/.local/share/Steam", "~/Lib"})),
     file("Lib/steamapps/appmanifest_13240.acf", acf("Unreal Tournament")),
     game("Lib/steamapps/common/unreal tournament/system")}, "~/Lib/steamapps/common/unreal tournament/system/",
     "skipped   ~/.local/share/Steam/steamapps/appmanifest_13240.acf  (Steam for Linux): No such file", true},
    {"steamForLinuxDebianFolder", {file(".steam/debian-installation/steamapps/appmanifest_13240.acf", acf("UT")),
     game(".steam/debian-installation/steamapps/common/UT/System")},
     "~/.steam/debian-installation/steamapps/common/UT/System/"},
    {"linuxBuild", {game(".local/share/OldUnreal/UnrealTournament/System")},
     "~/.local/share/OldUnreal/UnrealTournament/System/"},
    {"heroicGog", {file(".config/heroic/gog_store/installed.json", R"({"installed": [{"appName": "1",
     "install_path": "/x"}, {"appName": "1207658692", "install_path": "~/Games/Heroic/UT GOTY"}]})"),
     game("Games/Heroic/UT GOTY/System")}, "~/Games/Heroic/UT GOTY/System/"},
    {"protonPrefix", {file(Steam + "/libraryfolders.vdf", vdf({"~/Lib"})), prefix("Lib/steamapps/compatdata/13240/pfx"),
     game("Lib/steamapps/compatdata/13240/pfx/drive_c/UnrealTournament/System")},
     "~/Lib/steamapps/compatdata/13240/pfx/drive_c/UnrealTournament/System/"},
    {"lutrisPrefixByItsRegistry", {prefix("Games/ut"), reg("Games/ut", LM, UT, "Folder", "C:\\Quillon"),
     game("Games/ut/drive_c/Quillon/System")}, "~/Games/ut/drive_c/Quillon/System/", "", true},
    {"heroicPrefix", {prefix("Games/Heroic/Prefixes/default/UT"),
     game("Games/Heroic/Prefixes/default/UT/drive_c/Games/Unreal Tournament/System")},
     "~/Games/Heroic/Prefixes/default/UT/drive_c/Games/Unreal Tournament/System/",
     "skipped   ~/Games/Heroic  (Lutris): not a Wine prefix"},
    {"bottlesWithSteamInside", {prefix(".local/share/bottles/bottles/b"), reg(".local/share/bottles/bottles/b", CU,
     "Software\\Valve\\Steam", "SteamPath", "c:/steam"),
     file(".local/share/bottles/bottles/b/drive_c/steam/steamapps/appmanifest_13240.acf", acf("UT")),
     game(".local/share/bottles/bottles/b/drive_c/steam/steamapps/common/UT/System")},
     "~/.local/share/bottles/bottles/b/drive_c/steam/steamapps/common/UT/System/"},
    {"playOnLinux", {}, LaterFound, "", false, true},
    // Broken places are passed over, and reported with why
    {"malformedLibraryList", {file(Steam + "/libraryfolders.vdf", "\"libraryfolders\" { \"0\" { \"path\"")},
     LaterFound, "skipped   ~/.local/share/Steam/steamapps/libraryfolders.vdf  (Steam for Linux): not a Steam", false, true},
    {"libraryListIsAPipe", {pipe(Steam + "/libraryfolders.vdf")}, LaterFound, "libraryfolders.vdf  (Steam for "
     "Linux): it is a named pipe", true, true},
    {"truncatedManifest", {file(Acf, "\"AppState\" { \"installdir\" \"U"), game(Steam + "/common/U/System")},
     LaterFound, "appmanifest_13240.acf  (Steam for Linux): names no game folder", false, true},
    {"manifestLeavingTheLibrary", {file(Acf, acf("../Elsewhere")), game(Steam + "/Elsewhere/System")},
     LaterFound, "names no game folder", false, true},
    {"manifestOverAMebibyte", {file(Acf, acf("UT") + std::string(1 << 20, ' ')), game(Steam + "/common/UT/System")},
     LaterFound, "appmanifest_13240.acf  (Steam for Linux): bigger than 1 MiB", false, true},
    {"brokenHeroicList", {file(".config/heroic/gog_store/installed.json", "{\"installed\": [{\"appName\": \"12")},
     LaterFound, "installed.json  (Heroic (GOG)): not JSON", false, true},
    {"danglingLinks", {link(".local/share/Steam", "nowhere"), link("Games/gone", "/nonexistent")},
     LaterFound, "skipped   ~/Games/gone  (Lutris): a link that leads nowhere", false, true},
    {"prefixWithoutDosdevices", {file("Games/nodos/system.reg", RegHead), game("Games/nodos/drive_c/UnrealTournament/System")},
     LaterFound, "skipped   ~/Games/nodos  (Lutris): a Wine prefix without dosdevices", false, true},
    {"gamesFolderUnreadable", {file("Games", "not a folder")}, LaterFound, "skipped   ~/Games  (Lutris): Not a directory",
     false, true},
    {"registryValueOfAnotherType", {prefix(".wine"), reg(".wine", CU, UT, "Folder", "C:\\Mine", "str(2):")}, LaterFound,
     "Folder  (registry Folder, HKCU 32-bit, Wine prefix ~/.wine): a REG_EXPAND_SZ value", false, true},
    {"registryFileNotOne", {prefix(".wine"), file(".wine/user.reg", "REGEDIT4\n")}, LaterFound,
     "(Steam, Wine prefix ~/.wine): ~/.wine/user.reg: not a Wine registry file", false, true},
    // New places, and the search's misses mended
    {"sameFolderSpeltTwoWays", {prefix(".wine"), reg(".wine", LM, UT, "Folder", "C:\\MINE"),
     reg(".wine", CU, UT, "Folder", "C:\\Mine"), file(".wine/drive_c/Mine/System/Other.ini", "")}, LaterFound,
     "repeated  C:\\Mine\\System\\  (registry Folder, HKCU 32-bit", false, true},
    {"linuxGsmServer", {file("serverfiles/System/Core.u", ""), file("serverfiles/System64/ucc-bin", ""),
     game("serverfiles/System64")}, "~/serverfiles/System64/", "no file   ~/serverfiles/System/  (LinuxGSM)"},
    {"librariesDifferingInCase", {file(Steam + "/libraryfolders.vdf", vdf({"~/Lib", "~/lib"})),
     file("Lib/steamapps/other.acf", ""), file("lib/steamapps/appmanifest_13240.acf", acf("UT")), game("lib/steamapps/common/UT/System")},
     "~/lib/steamapps/common/UT/System/", "skipped   ~/Lib/steamapps/appmanifest_13240.acf"},
    {"byteOrderMarks", {file(Steam + "/libraryfolders.vdf", "\xEF\xBB\xBF" + vdf({"~/Lib"})),
     file("Lib/steamapps/appmanifest_13240.acf", "\xEF\xBB\xBF" + acf("UT")), game("Lib/steamapps/common/UT/System")},
     "~/Lib/steamapps/common/UT/System/"},
    {"onlyConfigLibraryList", {file(".local/share/Steam/config/libraryfolders.vdf", vdf({"~/Lib"})),
     file("Lib/steamapps/appmanifest_13240.acf", acf("UT")), game("Lib/steamapps/common/UT/System")},
     "~/Lib/steamapps/common/UT/System/", "skipped   ~/.local/share/Steam/steamapps/libraryfolders.vdf"},
    {"luxtorpeda", {file(Acf, acf("Unreal Tournament")), file(Steam + "/common/Unreal Tournament/linuxdata-469c/System64/ut-bin", ""),
     game(Steam + "/common/Unreal Tournament/linuxdata-469c/System64")},
     "~/.local/share/Steam/steamapps/common/Unreal Tournament/linuxdata-469c/System64/",
     "no folder ~/.local/share/Steam/steamapps/common/Unreal Tournament/System/"},
    {"heroicFromFlathub", {file(".var/app/com.heroicgameslauncher.hgl/config/heroic/gog_store/installed.json",
     R"({"installed": [{"appName": "1207658692", "install_path": "~/Games/Heroic/UT"}]})"), game("Games/Heroic/UT/System")},
     "~/Games/Heroic/UT/System/", "Heroic (GOG)): No such file"},
    {"heroicProtonPrefix", {prefix("Games/Heroic/Prefixes/default/UT/pfx"),
     game("Games/Heroic/Prefixes/default/UT/pfx/drive_c/UnrealTournament/System")},
     "~/Games/Heroic/Prefixes/default/UT/pfx/drive_c/UnrealTournament/System/"},
    {"bottlesOnACustomPath", {file(".local/share/bottles/data.yml", "custom_bottles_path: ~/Disk/Bottles # moved\n"),
     prefix("Disk/Bottles/b"), game("Disk/Bottles/b/drive_c/UnrealTournament/System")},
     "~/Disk/Bottles/b/drive_c/UnrealTournament/System/"},
    {"lutrisGamePath", {file(".local/share/lutris/system.yml", "system:\n  disable_screen_saver: true\n  game_path: '~/Disk/Games'\n"),
     prefix("Disk/Games/ut"), game("Disk/Games/ut/drive_c/UnrealTournament/System")},
     "~/Disk/Games/ut/drive_c/UnrealTournament/System/", "no folder ~/Games  (Lutris)"},
    {"folderNameNotUtf8", {file(Steam + "/libraryfolders.vdf", vdf({"~/Lib\xE9"})),
     file("Lib\xE9/steamapps/appmanifest_13240.acf", acf("UT")), game("Lib\xE9/steamapps/common/UT/System")},
     "~/Lib\xE9/steamapps/common/UT/System/", "", false, false, "/Lib\\udce9/steamapps/common/UT/System/\""},
    // Round three: the launchers' own records, and true reasons
    {"firstRegistryRouteSaysNoSuchValue", {prefix(".wine")}, LaterFound, "skipped   HKLM\\SOFTWARE\\Unreal Technology"
     "\\Installed Apps\\UnrealTournament Folder  (registry Folder, HKLM 32-bit, Wine prefix ~/.wine): no such value",
     false, true},
    {"lutrisFromFlathubCrLfAndAlias", {file(".var/app/net.lutris.Lutris/data/lutris/system.yml", "system:\r\n  game_path: "
     "&games ~/Disk/Lutris\r\n  other: *games\r\n"), prefixWithGame("Disk/Lutris/ut")},
     "~/Disk/Lutris/ut/drive_c/UnrealTournament/System/"},
    {"lutrisFoldedBlockScalar", {file(".config/lutris/system.yml", "system:\n  game_path: >-\n    ~/Disk/Long\n    Folder\n"),
     prefixWithGame("Disk/Long Folder/ut")}, "~/Disk/Long Folder/ut/drive_c/UnrealTournament/System/"},
    {"lutrisYamlThatIsNot", {file(".config/lutris/system.yml", "system:\n\tgame_path: ~/Disk\n")}, LaterFound,
     "system.yml  (Lutris (game_path)): not YAML: found character that cannot start any token", false, true},
    {"bottlesYamlInUtf16", {python(".local/share/bottles/data.yml", "open('~/.local/share/bottles/data.yml', 'w', encoding='utf-16').write("
     "'custom_bottles_path: \"~/B\\\\u00e9\"\\n')"), prefixWithGame("B\xC3\xA9/b")}, "~/B\xC3\xA9/b/drive_c/UnrealTournament/System/"},
    {"lutrisDatabaseWinePrefix", {lutrisDatabase(LutrisDb, "wine", "~/Disk/ut"), prefixWithGame("Disk/ut")},
     "~/Disk/ut/drive_c/UnrealTournament/System/"},
    {"lutrisDatabaseNativeGameFromFlathub", {lutrisDatabase(".var/app/net.lutris.Lutris/data/lutris/pga.db", "linux",
     "~/Disk/ut"), game("Disk/ut/System")}, "~/Disk/ut/System/", "found     ~/Disk/ut/System/  (Lutris (pga.db, Flatpak))"},
    {"lutrisDatabaseThatIsNot", {file(LutrisDb, "SQLite format 3"), Last}, LastFound,
     "pga.db  (Lutris (pga.db)): file is not a database"},
    {"lutrisDatabaseWithoutGames", {python(LutrisDb, "import sqlite3; sqlite3.connect('~/" + LutrisDb + "').execute('CREATE TABLE t (a)')"),
     Last}, LastFound, "pga.db  (Lutris (pga.db)): no such table: games"},
    {"lutrisDatabaseIsAPipe", {pipe(LutrisDb), Last}, LastFound, "pga.db  (Lutris (pga.db)): not a plain file"},
    {"heroicAddedByHand", {file(Heroic + "sideload_apps/library.json", R"({"games": [{"app_name": "x1", "install":
     {"executable": "~/Disk/UT/System/UnrealTournament.exe", "platform": "windows"}, "folder_name": "~/Disk/UT/System"}]})"),
     game("Disk/UT/System")}, "~/Disk/UT/System/"},
    {"heroicGamesOwnPrefix", {file(Heroic + "GamesConfig/x1.json", R"({"x1": {"winePrefix": "~/Disk/Prefixes/UT"}})"),
     file(Heroic + "GamesConfig/last.log", "{"), prefixWithGame("Disk/Prefixes/UT/pfx")},
     "~/Disk/Prefixes/UT/pfx/drive_c/UnrealTournament/System/"},
    {"heroicDefaultPrefixFolderFromFlathub", {file(".var/app/com.heroicgameslauncher.hgl/config/heroic/config.json",
     R"({"defaultSettings": {"defaultWinePrefix": "~/Disk/Heroic"}})"), prefixWithGame("Disk/Heroic/UT")},
     "~/Disk/Heroic/UT/drive_c/UnrealTournament/System/"},
    {"nonSteamShortcutPrefix", {file(Steam + "/libraryfolders.vdf", vdf({"~/Lib"})),
     prefixWithGame("Lib/steamapps/compatdata/3456789012/pfx")},
     "~/Lib/steamapps/compatdata/3456789012/pfx/drive_c/UnrealTournament/System/",
     "no folder ~/Lib/steamapps/compatdata/13240  (Proton)", true},
    {"desktopEntryOfTheCommunityInstaller", {file(Applications + "OldUnreal-UnrealTournament.desktop", "[Desktop Entry]\n"
     "Name=Unreal Tournament\nExec=\"~/My Games/UT/System64/ut-bin-amd64\"\nType=Application\n"),
     file("My Games/UT/System64/ut-bin-amd64", ""), game("My Games/UT/System64")}, "~/My Games/UT/System64/"},
    {"desktopEntryOfTheSystemUnderWine", {file("system/applications/ut.desktop", "[Desktop Action x]\nExec=ut-bin\n"
     "[Desktop Entry]\nExec=env WINEPREFIX=\"~/Pfx\" wine C:\\\\\\\\UT\\\\\\\\System\\\\\\\\UnrealTournament.exe %U\n"),
     prefix("Pfx"), game("Pfx/drive_c/UT/System")}, "~/Pfx/drive_c/UT/System/"},
    {"desktopEntryRelativeToItsPath", {file(Applications + "a.desktop", "[Desktop Entry]\nExec=./ut-bin\n"),
     file(Applications + "b.desktop", "[Desktop Entry]\nPath=~/ut/System\nExec='./ut-bin' -log\n"), game("ut/System")},
     "~/ut/System/", "found     ~/ut/System/  (desktop entry ~/.local/share/applications/b.desktop)"},
    {"minigalaxyGame", {file(".config/minigalaxy/config.json", R"({"install_dir": "~/Disk/GOG"})"),
     game("Disk/GOG/Unreal Tournament GOTY/System")}, "~/Disk/GOG/Unreal Tournament GOTY/System/"},
    {"minigalaxyGamesPrefix", {file("GOG Games/UT/System/Core.u", ""), prefixWithGame("GOG Games/UT/prefix")},
     "~/GOG Games/UT/prefix/drive_c/UnrealTournament/System/", "no file   ~/GOG Games/UT/System/  (Minigalaxy)"},
    {"luxtorpeda469eWithSettingsSaved", {file(Acf, acf("Unreal Tournament")), game(Steam + "/common/Unreal Tournament/System"),
     file(Steam + "/common/Unreal Tournament/linuxdata-469e/System64/ut-bin", ""), link(Steam + "/common/Unreal "
     "Tournament/linuxdata-469e/System64/QLLoadouts.ini", "../../System/QLLoadouts.ini"), file(".utpg/System/QuillonMod.ini", "")},
     "~/.utpg/System/", "found     ~/.local/share/Steam/steamapps/common/Unreal Tournament/System/  (Steam for Linux)"},
    {"modOnlyInThePreferenceFolder", {file(".local/share/OldUnreal/UnrealTournament/System64/ut-bin-amd64", ""),
     game(".utpg/System")}, "~/.utpg/System/", "found     ~/.local/share/OldUnreal/UnrealTournament/System64/"},
    {"preferenceFolderOfNoNativeGame", {file(".local/share/OldUnreal/UnrealTournament/System/UnrealTournament.exe", ""),
     game(".utpg/System")}, LaterFound, "no file   ~/.local/share/OldUnreal/UnrealTournament/System/", false, true},
    {"olderLinuxBuild", {game(".local/games/ut/System")}, "~/.local/games/ut/System/"},
    {"linkLoop", {link("Games/loop", "loop")}, LaterFound, "skipped   ~/Games/loop  (Lutris): Too many levels of symbolic links",
     false, true},
};
// clang-format on

class InstallLayout : public testing::TestWithParam<Layout> {};

TEST_P(InstallLayout, searchFindsTheFirstFolderInOrderAndReportsEachPlace) {
    const Layout& layout = GetParam();
    ScratchHome home;
    for (const Step& step : layout.steps)
        step(home);
    if (layout.later)
        for (const Step& step : Later)
            step(home);
    const auto result = InstallSearch::search(GamePaths::readInstallFolder());
    EXPECT_EQ(result.systemDir, inHome(layout.found, home));
    std::string report;
    for (const auto& place : result.places)
        report += InstallSearch::reportLine(place) + "\n";
    EXPECT_NE(report.find(inHome(layout.place, home)), std::string::npos) << report;
    EXPECT_EQ(result.places.back().outcome == InstallSearch::Outcome::Found, !layout.found.empty());

    if (!layout.json.empty()) {
        const ProgramRun run = runProgram(QUILLON_SETTINGS_PATH, {"where", "--json"}, home.path());
        EXPECT_NE(run.out.find(layout.json), std::string::npos) << run.out;
        EXPECT_TRUE(utf16FromUtf8(run.out)) << run.out;
    }
    if (!layout.runWhere)
        return;
    const ProgramRun run = runProgram(QUILLON_SETTINGS_PATH, {"where"}, home.path());
    EXPECT_EQ(run.status, layout.found.empty() ? 3 : 0) << run.err;
    const std::string found = inHome(layout.found, home);
    EXPECT_EQ(run.out, report + (layout.found.empty()
                                     ? "uses      nothing: no folder above holds QLLoadouts.ini\n"
                                     : "install   " + found + "\nuses      " + found + "\n"));
}

// Lutris and Bottles write their settings with PyYAML: a folder named outside ASCII comes out
// escaped (\xE9, \u0418), a long one folded onto indented lines, and the search reads both back.
TEST(YamlAsLaunchersWriteIt, readsPyYamlsOutputBackWhole) {
    const std::string folder =
        "~/Jeux vid\u00e9o/\u0418\u0433\u0440\u044b " + std::string(90, 'x') + "/Lutris";
    const struct {
        const char* settings;
        const char* dump; // how the launcher calls PyYAML
        const char* value;
    } writers[] = {
        {".config/lutris/system.yml", "yaml.safe_dump(v, default_flow_style=False)",
         "{'system': {'game_path': f}}"},
        {".local/share/bottles/data.yml", "yaml.dump(v)", "{'custom_bottles_path': f}"},
    };
    for (const auto& writer : writers) {
        ScratchHome home;
        python(writer.settings, std::string("import yaml; f = '") + folder +
                                    "'; v = " + writer.value + "; open('~/" + writer.settings +
                                    "', 'w').write(" + writer.dump + ")")(home);
        const std::string written = TempDir::bytesOf(home.path() / writer.settings);
        EXPECT_NE(written.find("\\xE9"), std::string::npos) << written;
        const std::string onDisk = "Jeux vid\xC3\xA9o/\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B " +
                                   std::string(90, 'x') + "/Lutris/ut";
        prefixWithGame(onDisk)(home);
        EXPECT_EQ(InstallSearch::search("").systemDir,
                  (home.path() / onDisk / "drive_c/UnrealTournament/System/").string())
            << written;
    }
}

// A place the user may not read says so, with the system's reason, wherever the search meets it:
// a game's folder in a Steam library, a Wine prefix. Run as a user other than the folders' owner
// (as nobody, the tests being run as root), since their owner reads them whatever their mode.
TEST(UnreadablePlaces, sayPermissionDeniedNotNoFolder) {
    ScratchHome home;
    const std::string folder = Steam + "/common/Unreal Tournament";
    for (const Step& step : {file(Acf, acf("Unreal Tournament")), game(folder + "/System"),
                             prefixWithGame("Games/ut")})
        step(home);
    for (const std::string& locked : {folder, std::string("Games/ut")})
        fs::permissions(home.path() / locked, fs::perms::owner_all);
    std::vector<std::string> args{QUILLON_SETTINGS_PATH, "where"};
    if (::geteuid() == 0)
        args.insert(args.begin(),
                    {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    const ProgramRun run = runProgram(args[0], {args.begin() + 1, args.end()}, home.path());
    EXPECT_EQ(run.status, 3) << run.err;
    for (const std::string& line :
         {"skipped   ~/" + folder + "/System/  (Steam for Linux): ~/" + folder +
              ": Permission denied",
          std::string("skipped   ~/Games/ut  (Lutris): Permission denied")})
        EXPECT_NE(run.out.find(inHome(line, home)), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Layouts, InstallLayout, testing::ValuesIn(Layouts),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
