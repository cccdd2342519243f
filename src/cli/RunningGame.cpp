#include "cli/RunningGame.h"

#include "cli/Console.h"
#include "platform/NativePath.h"
#include "store/Startup.h"

std::string runningGameText(const GameProcess::Running& game) {
    return game.program + " (process " + std::to_string(game.id) +
           ") is running from this System folder; the game reads these settings only when it "
           "starts and may write its own over them when it closes";
}

std::optional<std::string> runningGameNote() {
    const auto game = GameProcess::runningFrom(NativePath::resolve(Startup::SystemDir));
    if (!game)
        return std::nullopt;
    return runningGameText(*game);
}

bool warnAndSaveWhileTheGameRuns(const GameProcess::Running& game) {
    Console::writeError("quillon-settings: warning: " + runningGameText(game) +
                        "; saving anyway\n");
    return true;
}
