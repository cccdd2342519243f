#include "GameStandIn.h"

#ifdef _WIN32
const char* const GameProgramName = "UnrealTournament.exe";
#else
const char* const GameProgramName = "ut-bin";
#endif

namespace {

std::string copiedInto(const std::filesystem::path& folder, const std::string& name) {
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(QUILLON_GAME_STAND_IN, folder / name);
    return (folder / name).string();
}

} // namespace

RunningStandIn::RunningStandIn(const std::filesystem::path& folder, const std::string& name)
    : process_(copiedInto(folder, name), {}) {}

std::string windowsStandIn() {
    return QUILLON_WINDOWS_STAND_IN;
}
