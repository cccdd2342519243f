// The search for the game's System folder at its worst: ten Steam libraries and twenty Wine
// prefixes, every one of them naming folders, none holding QLLoadouts.ini, so that every place is
// looked at, and the launchers' records of round three naming them again: Heroic's prefixes, a
// game added to Steam by hand, desktop entries. The main menu runs this search 50 ms after it
// opens; it must take a small part of that. Measured with registry files as small as a fresh
// prefix's keys of interest, and with registry files of 1.5 MB each, as a prefix that has seen
// years of programs has. Then a Steam library list of 28,000 entries, as a list that a broken tool
// or a hostile file has grown: every entry a folder of its own that is not there, and every tenth
// one a library listed again. Then many libraries listed in one folder of 20,000 names (a disk of
// games), spelt in another letter case than on disk, so that each is matched ignoring case there.
// And the reader of UnrealTournament.exe on a crafted manifest of 4 MiB of comments.
#include "PeImageBuilder.h"
#include "install/InstallSearch.h"
#include "install/PeImage.h"

#include <benchmark/benchmark.h>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void put(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// A prefix whose registry names an install folder, GOG's and Steam's folders (none holding the
// game), after fillerKeys keys of other programs.
void makePrefix(const fs::path& prefix, int fillerKeys) {
    std::string filler;
    for (int i = 0; i < fillerKeys; ++i)
        filler +=
            "[Software\\\\Vendor" + std::to_string(i % 97) + "\\\\Program" + std::to_string(i) +
            "] 1700000000\n#time=1d9a0b1c2d3e4f5\n\"InstallDir\"=\"C:\\\\" +
            "Program Files\\\\Program" + std::to_string(i) + "\"\n\"Version\"=dword:00000001\n\n";
    const std::string head = "WINE REGISTRY Version 2\n\n#arch=win64\n\n";
    put(prefix / "system.reg",
        head + filler +
            "[Software\\\\Wow6432Node\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament]\n"
            "\"Folder\"=\"C:\\\\UT\"\n[Software\\\\Wow6432Node\\\\GOG.com\\\\Games\\\\1207658692]\n"
            "\"path\"=\"C:\\\\GOG Games\\\\UT\"\n");
    put(prefix / "user.reg", head + filler.substr(0, filler.size() / 10) +
                                 "[Software\\\\Valve\\\\Steam]\n\"SteamPath\"=\"c:/steam\"\n");
    put(prefix / "drive_c/steam/steamapps/appmanifest_13240.acf",
        "\"AppState\" { \"installdir\" \"Unreal Tournament\" }\n");
    fs::create_directories(prefix / "drive_c/UT");
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
}

// A scratch home of one size, named by HOME and WINEPREFIX while the benchmark runs.
class WorstHome {
public:
    explicit WorstHome(int fillerKeys)
        : home(fs::temp_directory_path() / ("quillon-bench-home-" + std::to_string(::getpid()) +
                                            "-" + std::to_string(fillerKeys))) {
        std::string libraries = "\"libraryfolders\"\n{\n";
        for (int i = 0; i < 10; ++i) {
            const fs::path library = home / ("Library" + std::to_string(i));
            libraries +=
                "\t\"" + std::to_string(i) + "\" { \"path\" \"" + library.string() + "\" }\n";
            put(library / "steamapps/appmanifest_13240.acf",
                "\"AppState\"\n{\n\t\"appid\"\t\t\"13240\"\n\t\"installdir\"\t\t\"UT\"\n}\n");
            fs::create_directories(library / "steamapps/common/UT/System");
            makePrefix(library / "steamapps/compatdata/13240/pfx", fillerKeys);
            makePrefix(home / "Games" / ("game" + std::to_string(i)), fillerKeys);
            makePrefix(library / "steamapps/compatdata" / std::to_string(3000000000 + i) / "pfx",
                       fillerKeys);
            put(home / ".local/share/applications" / ("game" + std::to_string(i) + ".desktop"),
                "[Desktop Entry]\nExec=\"" + library.string() + "/UT/System64/ut-bin-amd64\"\n");
            put(home / ".config/heroic/GamesConfig" / ("game" + std::to_string(i) + ".json"),
                "{\"game\": {\"winePrefix\": \"" + (home / "Games").string() + "/game" +
                    std::to_string(i) + "\"}}");
        }
        put(home / ".local/share/Steam/steamapps/libraryfolders.vdf", libraries + "}\n");
        makePrefix(home / ".wine", fillerKeys);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("WINEPREFIX", (home / ".wine").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (home / "system").c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    ~WorstHome() { fs::remove_all(home); }

private:
    fs::path home;
};

void BM_InstallSearchWorstCase(benchmark::State& state) {
    const WorstHome home(static_cast<int>(state.range(0)));
    std::size_t places = 0;
    for (auto _ : state) {
        const auto result = InstallSearch::search("C:\\UT");
        places = result.places.size();
        if (!result.systemDir.empty())
            state.SkipWithError("a folder was found where none should be");
    }
    state.counters["places"] = static_cast<double>(places);
}

} // namespace

// 0: registry files holding the keys of interest only; 20000: about 1.5 MB each.
BENCHMARK(BM_InstallSearchWorstCase)->Arg(0)->Arg(20000)->Unit(benchmark::kMillisecond);

namespace {

// Times the search with Steam for Linux's list of libraries (its entries, without the closing
// brace), and counts the places it looked at.
void searchWithLibraries(benchmark::State& state, const std::string& libraries) {
    put(fs::path(std::getenv("HOME")) / ".local/share/Steam/steamapps/libraryfolders.vdf",
        libraries + "}\n");
    std::size_t places = 0;
    for (auto _ : state)
        places = InstallSearch::search("C:\\UT").places.size();
    state.counters["places"] = static_cast<double>(places);
}

void BM_InstallSearchLongLibraryList(benchmark::State& state) {
    const WorstHome home(0);
    // The list in Steam's form before 2021, each library a numbered key's own text, so that the
    // whole list stays under the mebibyte the search reads.
    std::string libraries = "\"libraryfolders\"\n{\n";
    for (int i = 0; i < state.range(0); ++i)
        libraries += "\t\"" + std::to_string(i) + "\"\t\"/quillon-gone/" +
                     std::to_string(i % 10 == 9 ? i - 1 : i) + "\"\n";
    searchWithLibraries(state, libraries);
    state.counters["bytes"] = static_cast<double>(libraries.size());
}

} // namespace

BENCHMARK(BM_InstallSearchLongLibraryList)->Arg(28000)->Unit(benchmark::kMillisecond);

namespace {

void BM_InstallSearchLibrariesInOneLargeFolder(benchmark::State& state) {
    const WorstHome home(0);
    // A disk of games: a folder of 20,000 names, Game00000 to Game19999. The list names 16,000
    // libraries in it (as many as a mebibyte holds), all in lower case: every step-th one of the
    // folder's own names, spelt in another letter case (a library, with steamapps), the others
    // names the folder does not hold in any case (libraries since removed).
    const fs::path disk = fs::path(std::getenv("HOME")) / "Disk";
    const auto numbered = [](const char* word, int i) {
        const std::string digits = std::to_string(i);
        return word + std::string(5 - digits.size(), '0') + digits;
    };
    const int step = static_cast<int>(state.range(0));
    std::string libraries = "\"libraryfolders\"\n{\n";
    for (int i = 0; i < 20000; ++i) {
        fs::create_directories(disk / numbered("Game", i) /
                               (i % step == 0 ? "steamapps" : "other"));
        if (i >= 16000)
            continue;
        std::string entry = (disk / numbered(i % step == 0 ? "Game" : "Gone", i)).string();
        for (char& c : entry)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        libraries += "\t\"" + std::to_string(i) + "\"\t\"" + entry + "\"\n";
    }
    searchWithLibraries(state, libraries);
    state.counters["libraries there"] = 16000.0 / step;
}

// A manifest of 4 MiB: comments, each naming the execution level, that the reader passes over.
void BM_PeImageCraftedManifest(benchmark::State& state) {
    std::string manifest;
    while (manifest.size() < 4u << 20)
        manifest += "<!-- <requestedExecutionLevel level=\"asInvoker\"/> -->";
    const std::string image = peImageWithManifest(manifest);
    for (auto _ : state)
        benchmark::DoNotOptimize(PeImage::read(image));
    state.counters["bytes"] = static_cast<double>(image.size());
}

} // namespace

// One library listed in twenty is there: 800 libraries, each a folder read once, and 15,200
// entries that cost a lookup in the folder's names and no look at the disk.
BENCHMARK(BM_InstallSearchLibrariesInOneLargeFolder)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeImageCraftedManifest)->Unit(benchmark::kMillisecond);
