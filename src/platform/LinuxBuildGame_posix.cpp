#include "platform/AsciiCase.h"
#include "platform/GameKinds_posix.h"
#include "platform/NativeGame.h"
#include "platform/NativePath.h"

#include <algorithm>
#include <cstdlib>

namespace GameProcess {

namespace {

// The game's Linux build runs ut-bin (ut-bin-amd64, ...) or its server ucc-bin from the System
// folder, or from a folder beside it for other processors. Whatever folder it runs from, it saves
// its settings in its preference folder, which counts as a folder it runs from.
class LinuxBuild : public GameKind {
public:
    explicit LinuxBuild(const std::string& systemFolder) : self_(folderIdentity(systemFolder)) {
        std::string parent = systemFolder;
        while (parent.size() > 1 && parent.ends_with('/'))
            parent.pop_back();
        parent.resize(parent.rfind('/') + 1);
        for (const std::string& folder : {systemFolder, NativePath::resolve(parent + "System64"),
                                          NativePath::resolve(parent + "SystemARM64")})
            if (const auto id = folderIdentity(folder))
                folders_.push_back(*id);
    }

    bool mayBeNamed(std::string_view name) const override {
        return NativeGame::isProgramName(name);
    }

    std::optional<std::string> program(ProcessView& process) const override {
        const std::string& executable = process.executable();
        const std::string name = executable.substr(executable.rfind('/') + 1);
        if (!NativeGame::isProgramName(name))
            return std::nullopt;
        const auto holder = holderIdOf(executable);
        if (holder && std::find(folders_.begin(), folders_.end(), *holder) != folders_.end())
            return name;
        const auto preferences = preferenceFolderOf(process);
        if (self_ && preferences && folderIdentity(*preferences) == self_)
            return name;
        return std::nullopt;
    }

private:
    // The folder the process saves its settings in; nothing when it was told to keep them where
    // it runs (-nohomedir). -sethomedir=DIR names it, relative to its working folder.
    static std::optional<std::string> preferenceFolderOf(ProcessView& process) {
        constexpr std::string_view SetHomeDir = "-sethomedir=";
        std::optional<std::string> folder;
        for (const auto& word : process.otherArguments()) {
            if (AsciiCase::equalIgnoringCase(word, "-nohomedir"))
                return std::nullopt;
            if (AsciiCase::equalIgnoringCase(word.substr(0, SetHomeDir.size()), SetHomeDir)) {
                folder = word.substr(SetHomeDir.size());
                if (!folder->starts_with('/'))
                    folder = process.workingFolder() + "/" + *folder;
            }
        }
        if (folder)
            return folder;
        const auto home = process.environmentValue("HOME");
        const char* ownHome = std::getenv("HOME"); // the same user's
        return NativeGame::preferenceFolderIn(home ? *home : ownHome ? ownHome : "");
    }

    std::optional<FolderIdentity> self_;
    std::vector<FolderIdentity> folders_;
};

} // namespace

std::unique_ptr<GameKind> linuxBuild(const std::string& systemFolder) {
    return std::make_unique<LinuxBuild>(systemFolder);
}

} // namespace GameProcess
