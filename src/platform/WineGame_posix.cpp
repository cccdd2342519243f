#include "GameKinds_posix.h"
#include "GameProgramNames.h"
#include "NativePath.h"

#include <cstdlib>

namespace GameProcess {

namespace {

// Wine shows a Windows program's own path as the first word of its command line
// (C:\Games\UnrealTournament\System\UnrealTournament.exe); the path means what it means in that
// process's Wine prefix.
class UnderWine : public GameKind {
public:
    explicit UnderWine(const std::string& systemFolder) : folder_(folderIdOf(systemFolder)) {}

    // Wine names the process after the program's file, cut to the 15 bytes Linux keeps.
    bool mayBeNamed(std::string_view name) const override {
        for (const std::string_view program : GameProgramNames::WindowsPrograms)
            if (AsciiCase::equalIgnoringCase(name, program.substr(0, 15)))
                return true;
        return false;
    }

    std::optional<std::string> program(ProcessView& process) const override {
        const std::string& windowsPath = process.firstArgument();
        const std::size_t backslash = windowsPath.rfind('\\');
        if (!folder_ || backslash == std::string::npos ||
            !GameProgramNames::isWindowsProgram(
                std::string_view(windowsPath).substr(backslash + 1)))
            return std::nullopt;
        if (holderIdOf(NativePath::resolve(windowsPath, prefixOf(process))) != folder_)
            return std::nullopt;
        return windowsPath.substr(backslash + 1);
    }

private:
    static std::string prefixOf(const ProcessView& process) {
        if (auto prefix = process.environmentValue("WINEPREFIX"); prefix && !prefix->empty())
            return *prefix;
        if (auto home = process.environmentValue("HOME"))
            return *home + "/.wine";
        const char* ownHome = std::getenv("HOME"); // the same user's
        return std::string(ownHome ? ownHome : "") + "/.wine";
    }

    std::optional<FolderId> folder_;
};

} // namespace

std::unique_ptr<GameKind> underWine(const std::string& systemFolder) {
    return std::make_unique<UnderWine>(systemFolder);
}

} // namespace GameProcess
