#include "platform/GameKinds_posix.h"
#include "platform/NativePath.h"

#include <algorithm>

namespace GameProcess {

namespace {

// The game's Linux build runs ut-bin (ut-bin-amd64, ...) or its server ucc-bin from the System
// folder, or from a folder beside it for other processors.
class LinuxBuild : public GameKind {
public:
    explicit LinuxBuild(const std::string& systemFolder) {
        std::string parent = systemFolder;
        while (parent.size() > 1 && parent.ends_with('/'))
            parent.pop_back();
        parent.resize(parent.rfind('/') + 1);
        for (const std::string& folder : {systemFolder, NativePath::resolve(parent + "System64"),
                                          NativePath::resolve(parent + "SystemARM64")})
            if (const auto id = folderIdOf(folder))
                folders_.push_back(*id);
    }

    bool mayBeNamed(std::string_view name) const override { return isGameProgram(name); }

    std::optional<std::string> program(ProcessView& process) const override {
        const std::string& executable = process.executable();
        const std::string name = executable.substr(executable.rfind('/') + 1);
        if (!isGameProgram(name))
            return std::nullopt;
        const auto holder = holderIdOf(executable);
        if (!holder || std::find(folders_.begin(), folders_.end(), *holder) == folders_.end())
            return std::nullopt;
        return name;
    }

private:
    static bool isGameProgram(std::string_view name) {
        return name.starts_with("ut-bin") || name.starts_with("ucc-bin");
    }

    std::vector<FolderId> folders_;
};

} // namespace

std::unique_ptr<GameKind> linuxBuild(const std::string& systemFolder) {
    return std::make_unique<LinuxBuild>(systemFolder);
}

} // namespace GameProcess
