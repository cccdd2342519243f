#include "platform/GameKinds_posix.h"
#include "platform/GameProgramNames.h"
#include "platform/NativePath.h"

#include <algorithm>
#include <cstdlib>

namespace GameProcess {

namespace {

// Wine shows the program it runs as the first word of the process's command line, as it was
// given: a Windows path (C:\UT\System\UCC.exe, as a Windows program or Steam starts it), a
// Linux one (/home/me/ut/System/UCC.exe), or one relative to the working folder (UCC.exe, from a
// shell in the System folder). A Windows path means what it means in the process's own prefix.
class UnderWine : public GameKind {
public:
    explicit UnderWine(const std::string& systemFolder) : folder_(folderIdentity(systemFolder)) {}

    // Wine names the process after the program's file, cut to the 15 bytes Linux keeps.
    bool mayBeNamed(std::string_view name) const override {
        for (const std::string_view program : GameProgramNames::WindowsPrograms)
            if (AsciiCase::equalIgnoringCase(name, program.substr(0, 15)))
                return true;
        return false;
    }

    std::optional<std::string> program(ProcessView& process) const override {
        const std::string& started = process.firstArgument();
        std::string name = started.substr(started.find_last_of("\\/") + 1);
        if (!folder_ || !GameProgramNames::isWindowsProgram(name) ||
            holderIdOf(NativePath::resolve(rooted(started, process), prefixOf(process))) != folder_)
            return std::nullopt;
        return name;
    }

private:
    // The path itself when it starts at a root or a drive, else below the working folder.
    static std::string rooted(std::string path, const ProcessView& process) {
        if (path.starts_with('/') || path.starts_with('\\') || path.find(':') == 1)
            return path;
        std::replace(path.begin(), path.end(), '\\', '/');
        return process.workingFolder() + "/" + path;
    }

    static std::string prefixOf(const ProcessView& process) {
        if (auto prefix = process.environmentValue("WINEPREFIX"); prefix && !prefix->empty())
            return *prefix;
        if (auto home = process.environmentValue("HOME"))
            return *home + "/.wine";
        const char* ownHome = std::getenv("HOME"); // the same user's
        return std::string(ownHome ? ownHome : "") + "/.wine";
    }

    std::optional<FolderIdentity> folder_;
};

} // namespace

std::unique_ptr<GameKind> underWine(const std::string& systemFolder) {
    return std::make_unique<UnderWine>(systemFolder);
}

} // namespace GameProcess
