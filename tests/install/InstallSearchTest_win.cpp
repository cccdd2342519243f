// Under Wine, the Windows build finds the game through its own registry: a GOG key and Steam's
// folder with its libraries, in both views of the registry, a folder named outside ASCII too.
#include "InstallSearch.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

std::string utf8(const fs::path& path) {
    const auto text = path.u8string();
    return {text.begin(), text.end()};
}
std::wstring wide(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// A value written below root in one view of the registry; the first key of its path that was
// not there goes again, with everything below it, when the value goes.
class AddedValue {
public:
    AddedValue(HKEY root, REGSAM view, const std::string& key, const std::string& name,
               const std::string& value)
        : root_(root), view_(view) {
        std::wstring path;
        for (std::size_t at = 0; at != std::string::npos && added_.empty();) {
            at = key.find('\\', at + 1);
            path = wide(key.substr(0, at));
            HKEY open = nullptr;
            if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &open) == ERROR_SUCCESS)
                RegCloseKey(open);
            else
                added_ = path;
        }
        HKEY created = nullptr;
        EXPECT_EQ(RegCreateKeyExW(root, wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE | view,
                                  nullptr, &created, nullptr),
                  ERROR_SUCCESS);
        const std::wstring text = wide(value);
        RegSetValueExW(created, wide(name).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(created);
    }
    ~AddedValue() {
        const auto cut = added_.rfind(L'\\');
        HKEY parent = nullptr;
        if (!added_.empty() && RegOpenKeyExW(root_, added_.substr(0, cut).c_str(), 0,
                                             KEY_ALL_ACCESS | view_, &parent) == ERROR_SUCCESS) {
            RegDeleteTreeW(parent, added_.substr(cut + 1).c_str());
            RegCloseKey(parent);
        }
    }

private:
    HKEY root_;
    REGSAM view_;
    std::wstring added_;
};

void put(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

const std::string Cyrillic = "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B"; // "Игры"

} // namespace

TEST(InstallSearchOnWindows, findsGogAndSteamThroughItsOwnRegistryInBothViews) {
    struct Case {
        const char* name;
        HKEY root;
        REGSAM view;
        const char* key;
        const char* value;
        std::string folder; // the value, below the scratch folder
        std::string system; // the System folder expected, below the scratch folder
        bool steam = false; // folder is Steam's, whose library list names the library "lib"
    };
    const Case cases[] = {
        {"GOG", HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "SOFTWARE\\GOG.com\\Games\\1207658692", "path",
         Cyrillic + "\\UT", Cyrillic + "\\UT\\System\\"},
        {"Folder, 64-bit view", HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
         "SOFTWARE\\Unreal Technology\\Installed Apps\\UnrealTournament", "Folder", "UT64",
         "UT64\\System\\"},
        {"Steam for the user", HKEY_CURRENT_USER, KEY_WOW64_64KEY, "Software\\Valve\\Steam",
         "SteamPath", "steam", "lib\\steamapps\\common\\Unreal Tournament\\System\\", true},
        {"Steam for the machine, 32-bit view", HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY,
         "SOFTWARE\\Valve\\Steam", "InstallPath", "steam",
         "lib\\steamapps\\common\\Unreal Tournament\\System\\", true},
    };
    for (const auto& c : cases) {
        TempDir scratch;
        const std::string dir = utf8(scratch.path()) + "\\";
        put(fs::path(wide(dir + c.system)) / "QLLoadouts.ini", "[Loadouts]\r\n");
        std::string value = dir + c.folder;
        if (c.steam) {
            // Steam writes its own folder with '/', in lower case.
            for (char& ch : value)
                ch = ch == '\\' ? '/'
                                : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            std::string library = dir + "lib";
            for (auto at = library.find('\\'); at != std::string::npos;
                 at = library.find('\\', at + 2))
                library.insert(at, 1, '\\');
            put(fs::path(wide(dir + "steam\\steamapps\\libraryfolders.vdf")),
                "\"libraryfolders\" { \"0\" { \"path\" \"" + library + "\" } }");
            put(fs::path(wide(dir + "lib\\steamapps\\appmanifest_13240.acf")),
                "\"AppState\" { \"appid\" \"13240\" \"installdir\" \"Unreal Tournament\" }");
        }
        const AddedValue added(c.root, c.view, c.key, c.value, value);
        const auto result = InstallSearch::search("");
        EXPECT_EQ(result.systemDir, dir + c.system) << c.name;
    }
}
