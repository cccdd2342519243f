// Under Wine, the Windows build finds the game through its own registry: a GOG key and Steam's
// folder with its libraries, in both views of the registry, a folder named outside ASCII too;
// the install folder it has no value of is reported as no such value.
#include "AddedRegistryValue_win.h"
#include "TempDir.h"
#include "install/InstallSearch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

void put(const std::string& file, const std::string& bytes) {
    fs::create_directories(fs::path(wideFromUtf8(file)).parent_path());
    std::ofstream(fs::path(wideFromUtf8(file)), std::ios::binary) << bytes;
}

} // namespace

TEST(InstallSearchOnWindows, findsGogAndSteamThroughItsOwnRegistryInBothViews) {
    const std::string Cyrillic = "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B"; // "Игры"
    const std::string InSteam = "lib\\steamapps\\common\\Unreal Tournament\\System\\";
    const struct {
        HKEY root;
        REGSAM view;
        const char* top;   // the key of the test's own
        const char* below; // and the value's key below it
        const char* name;
        std::string folder; // the value, below the scratch folder; "steam" is Steam's
        std::string system; // the System folder expected, below the scratch folder
    } cases[] = {
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "SOFTWARE\\GOG.com", "Games\\1207658692", "path",
         Cyrillic + "\\UT", Cyrillic + "\\UT\\System\\"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "SOFTWARE\\Unreal Technology",
         "Installed Apps\\UnrealTournament", "Folder", "UT64", "UT64\\System\\"},
        {HKEY_CURRENT_USER, KEY_WOW64_64KEY, "Software\\Valve", "Steam", "SteamPath", "steam",
         InSteam},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "SOFTWARE\\Valve", "Steam", "InstallPath", "steam",
         InSteam},
    };
    for (const auto& c : cases) {
        TempDir scratch;
        const auto u8 = scratch.path().u8string();
        const std::string dir = std::string(u8.begin(), u8.end()) + "\\";
        put(dir + c.system + "QLLoadouts.ini", "[Loadouts]\r\n");
        std::string value = dir + c.folder;
        if (c.folder == "steam") {
            // Steam writes its own folder with '/', in lower case; its list doubles each '\'.
            for (char& ch : value)
                ch = ch == '\\' ? '/'
                                : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            std::string library = dir + "lib";
            for (auto at = library.find('\\'); at != std::string::npos;
                 at = library.find('\\', at + 2))
                library.insert(at, 1, '\\');
            put(dir + "steam\\steamapps\\libraryfolders.vdf",
                "\"libraryfolders\" { \"0\" { \"path\" \"" + library + "\" } }");
            put(dir + "lib\\steamapps\\appmanifest_13240.acf",
                "\"AppState\" { \"installdir\" \"Unreal Tournament\" }");
        }
        const AddedRegistryValue added(c.root, c.view, c.top, c.below, c.name, value);
        const auto result = InstallSearch::search("");
        EXPECT_EQ(result.systemDir, dir + c.system) << c.name;
        // The value start-up read none of is told missing, as every registry route tells it.
        EXPECT_EQ(result.places.front().reason, "no such value") << c.name;
    }
}
