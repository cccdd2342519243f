// Loading and saving the five settings files at their largest (32,766 lines each), beside a
// plain C++ baseline that reads the same bytes and writes them with the same durability. Loading
// is measured for each line end the files may use: CR LF (as Windows writes them), a lone LF (as
// Linux editors do) and a lone CR; and for each encoding a file may be in, on twins of the same
// text in the code page, in UTF-8 and in UTF-16LE.
#include "store/LineArray.h"
#include "store/Startup.h"
#include "store/TextEncoding.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The line ends the load benchmarks are run with, by argument.
const char* const LineEnds[] = {"\r\n", "\n", "\r"};
const char* const LineEndNames[] = {"CR LF", "LF", "CR"};

// The five files in a scratch folder for each line end, made once for the whole run.
struct BenchFiles {
    fs::path root = fs::temp_directory_path() / ("quillon-bench-" + std::to_string(::getpid()));
    std::vector<fs::path> paths[3];

    BenchFiles() {
        for (std::size_t end = 0; end < 3; ++end) {
            const fs::path dir = folder(end);
            fs::create_directories(dir);
            for (const auto& file : Startup::settingsFiles()) {
                paths[end].push_back(dir / file.fileName);
                std::ofstream out(paths[end].back(), std::ios::binary);
                for (std::size_t i = 0; i < MaxLinesPerFile; ++i)
                    out << "SettingNumber" << i << "=Some value with spaces, " << i * 7
                        << LineEnds[end];
            }
        }
    }
    ~BenchFiles() { fs::remove_all(root); }

    fs::path folder(std::size_t end) const { return root / std::to_string(end); }
    // Points SystemDir at the files with that line end.
    void use(std::size_t end) const { Startup::SystemDir = (folder(end) / "").string(); }
};

BenchFiles& files() {
    static BenchFiles instance;
    return instance;
}

std::int64_t totalBytes(std::size_t end = 0) {
    std::int64_t total = 0;
    for (const auto& path : files().paths[end])
        total += static_cast<std::int64_t>(fs::file_size(path));
    return total;
}

void BM_LoadIniFiles(benchmark::State& state) {
    const auto end = static_cast<std::size_t>(state.range(0));
    files().use(end);
    state.SetLabel(LineEndNames[end]);
    for (auto _ : state) {
        Startup::LoadIniFiles();
        benchmark::DoNotOptimize(Startup::QLAuxArray.back());
    }
    state.SetBytesProcessed(state.iterations() * totalBytes(end));
}

// The same text in each encoding a settings file may be in, by argument: the code page, UTF-8 and
// UTF-16LE. Each line holds a character above ASCII, as a player's name would.
const char* const EncodingNames[] = {"code page", "UTF-8", "UTF-16LE"};

struct EncodingTwins {
    fs::path root = files().root / "encodings";

    EncodingTwins() {
        for (std::size_t encoding = 0; encoding < 3; ++encoding) {
            fs::create_directories(folder(encoding));
            for (const auto& file : Startup::settingsFiles()) {
                std::ofstream out(folder(encoding) / file.fileName, std::ios::binary);
                if (encoding == 2)
                    out << "\xFF\xFE";
                for (std::size_t i = 0; i < MaxLinesPerFile; ++i) {
                    const std::string line = "SettingNumber" + std::to_string(i) + "=Zo" +
                                             (encoding == 0 ? "\xEB" : "\xC3\xAB") +
                                             " with spaces, " + std::to_string(i * 7) + "\r\n";
                    if (encoding < 2) {
                        out << line;
                        continue;
                    }
                    std::string units(utf16Size(line), '\0');
                    writeUtf16(line, units.data());
                    out << units;
                }
            }
        }
    }

    fs::path folder(std::size_t encoding) const { return root / std::to_string(encoding); }
};

void BM_LoadEncodings(benchmark::State& state) {
    static const EncodingTwins twins;
    const auto encoding = static_cast<std::size_t>(state.range(0));
    Startup::SystemDir = (twins.folder(encoding) / "").string();
    state.SetLabel(EncodingNames[encoding]);
    for (auto _ : state) {
        Startup::LoadIniFiles();
        benchmark::DoNotOptimize(Startup::QLAuxArray.back());
    }
}

// Reads each file line by line into a vector of strings, as plain C++ would: getline up to the
// files' own line end.
void BM_BaselineRead(benchmark::State& state) {
    const auto end = static_cast<std::size_t>(state.range(0));
    const char delimiter = end == 2 ? '\r' : '\n';
    state.SetLabel(LineEndNames[end]);
    for (auto _ : state) {
        for (const auto& path : files().paths[end]) {
            std::ifstream in(path, std::ios::binary);
            std::vector<std::string> lines;
            std::string line;
            while (std::getline(in, line, delimiter)) {
                if (end == 0 && !line.empty() && line.back() == '\r')
                    line.pop_back();
                lines.push_back(line);
            }
            benchmark::DoNotOptimize(lines.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * totalBytes(end));
}

void BM_SaveIniFiles(benchmark::State& state) {
    files().use(0);
    Startup::LoadIniFiles();
    for (auto _ : state)
        Startup::SaveIniFiles();
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

// Writes the same lines to a temporary file, flushes it to disk and renames it into place.
// No permissions, links or read-only checks: only the bytes and their durability.
void BM_BaselineWrite(benchmark::State& state) {
    files().use(0);
    Startup::LoadIniFiles();
    const LineArray* arrays[] = {&Startup::QlLoadoutsArray, &Startup::QuillonModArray,
                                 &Startup::QuillonUserArray, &Startup::QuillonAIArray,
                                 &Startup::QLAuxArray};
    for (auto _ : state) {
        for (std::size_t f = 0; f < 5; ++f) {
            const fs::path temporary = files().paths[0][f].string() + ".tmp";
            std::FILE* out = std::fopen(temporary.c_str(), "wb");
            const LineArray& lines = *arrays[f];
            for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
                std::fwrite(lines[i].data(), 1, lines[i].size(), out);
                std::fwrite("\r\n", 1, 2, out);
            }
            std::fflush(out);
            ::fsync(::fileno(out));
            std::fclose(out);
            std::rename(temporary.c_str(), files().paths[0][f].c_str());
        }
        // The renames themselves are made durable by flushing the folder, as the store does.
        const int dir = ::open(files().folder(0).c_str(), O_RDONLY | O_DIRECTORY);
        ::fsync(dir);
        ::close(dir);
    }
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

} // namespace

// The five files at the size players have them (a dozen lines each): what a load costs beyond
// the bytes, its lock and its look for what a cut save left.
void BM_LoadSmallFiles(benchmark::State& state) {
    const fs::path dir = files().root / "small";
    fs::create_directories(dir);
    for (const auto& file : Startup::settingsFiles()) {
        std::ofstream out(dir / file.fileName, std::ios::binary);
        for (int i = 0; i < 12; ++i)
            out << "Setting" << i << "=Value " << i << "\r\n";
    }
    Startup::SystemDir = (dir / "").string();
    for (auto _ : state)
        Startup::LoadIniFiles();
}

BENCHMARK(BM_LoadIniFiles)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSmallFiles)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadEncodings)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineRead)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveIniFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineWrite)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
