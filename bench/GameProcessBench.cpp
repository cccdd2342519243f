// The look for a running game that every save makes first, with 500 other processes of the user
// running (a busy desktop runs a few hundred). A save with no game running must feel as it did
// before the look was added, so it should take well under 10 ms.
#include "ChildProcess.h"
#include "platform/GameProcess.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A System folder with no game running from it, and processes of this user that only wait;
// made once for the whole run, and ended with it.
struct BusyDesktop {
    fs::path system =
        fs::temp_directory_path() / ("quillon-bench-game-" + std::to_string(::getpid())) / "System";
    std::vector<std::unique_ptr<ChildProcess>> processes;

    explicit BusyDesktop(int count) {
        fs::create_directories(system);
        for (int i = 0; i < count; ++i)
            processes.push_back(
                std::make_unique<ChildProcess>("/bin/sleep", std::vector<std::string>{"600"}));
    }
    ~BusyDesktop() { fs::remove_all(system.parent_path()); }
};

void BM_LookForTheGameAmong500Processes(benchmark::State& state) {
    static const BusyDesktop desktop(500);
    const std::string folder = desktop.system.string() + "/";
    for (auto _ : state)
        benchmark::DoNotOptimize(GameProcess::runningFrom(folder));
    state.counters["processes"] = static_cast<double>(
        std::distance(fs::directory_iterator("/proc"), fs::directory_iterator{}));
}
BENCHMARK(BM_LookForTheGameAmong500Processes)->Unit(benchmark::kMillisecond);

} // namespace
