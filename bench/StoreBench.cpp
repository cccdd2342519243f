// Loading and saving the five settings files at their largest (32,766 lines each), beside a
// plain C++ baseline that reads the same bytes and writes them with the same durability.
#include "LineArray.h"
#include "Startup.h"

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

// The five files in a scratch folder, made once for the whole run.
struct BenchFiles {
    fs::path dir = fs::temp_directory_path() / ("quillon-bench-" + std::to_string(::getpid()));
    std::vector<fs::path> paths;

    BenchFiles() {
        fs::create_directories(dir);
        for (const auto& file : Startup::settingsFiles()) {
            paths.push_back(dir / file.fileName);
            std::ofstream out(paths.back(), std::ios::binary);
            for (std::size_t i = 0; i < MaxLinesPerFile; ++i)
                out << "SettingNumber" << i << "=Some value with spaces, " << i * 7 << "\r\n";
        }
        Startup::SystemDir = (dir / "").string();
    }
    ~BenchFiles() { fs::remove_all(dir); }
};

BenchFiles& files() {
    static BenchFiles instance;
    return instance;
}

std::int64_t totalBytes() {
    std::int64_t total = 0;
    for (const auto& path : files().paths)
        total += static_cast<std::int64_t>(fs::file_size(path));
    return total;
}

void BM_LoadIniFiles(benchmark::State& state) {
    files();
    for (auto _ : state) {
        Startup::LoadIniFiles();
        benchmark::DoNotOptimize(Startup::QLAuxArray.data());
    }
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

// Reads each file line by line into a vector of strings, as plain C++ would.
void BM_BaselineRead(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& path : files().paths) {
            std::ifstream in(path, std::ios::binary);
            std::vector<std::string> lines;
            std::string line;
            while (std::getline(in, line)) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                lines.push_back(line);
            }
            benchmark::DoNotOptimize(lines.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

void BM_SaveIniFiles(benchmark::State& state) {
    files();
    Startup::LoadIniFiles();
    for (auto _ : state)
        Startup::SaveIniFiles();
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

// Writes the same lines to a temporary file, flushes it to disk and renames it into place.
// No permissions, links or read-only checks: only the bytes and their durability.
void BM_BaselineWrite(benchmark::State& state) {
    files();
    Startup::LoadIniFiles();
    const LineArray* arrays[] = {&Startup::QlLoadoutsArray, &Startup::QuillonModArray,
                                 &Startup::QuillonUserArray, &Startup::QuillonAIArray,
                                 &Startup::QLAuxArray};
    for (auto _ : state) {
        for (std::size_t f = 0; f < 5; ++f) {
            const fs::path temporary = files().paths[f].string() + ".tmp";
            std::FILE* out = std::fopen(temporary.c_str(), "wb");
            const LineArray& lines = *arrays[f];
            for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
                std::fwrite(lines[i].data(), 1, lines[i].size(), out);
                std::fwrite("\r\n", 1, 2, out);
            }
            std::fflush(out);
            ::fsync(::fileno(out));
            std::fclose(out);
            std::rename(temporary.c_str(), files().paths[f].c_str());
        }
        // The renames themselves are made durable by flushing the folder, as the store does.
        const int dir = ::open(files().dir.c_str(), O_RDONLY | O_DIRECTORY);
        ::fsync(dir);
        ::close(dir);
    }
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

} // namespace

BENCHMARK(BM_LoadIniFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveIniFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineWrite)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
