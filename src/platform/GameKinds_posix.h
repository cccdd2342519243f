#pragma once

// The kinds of game process the scan of /proc notices, each in a file of its own, and what they
// are told of a process. Included by the *_posix.cpp files of GameProcess only.

#include "platform/FolderIdentity.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace GameProcess {

// One process of this user as /proc shows it; each part is read on first use. A part that
// cannot be read (the process ended, or hides it) reads as empty.
class ProcessView {
public:
    // procFolder is an open descriptor of /proc; id the process's folder name in it.
    ProcessView(int procFolder, std::string id) : procFolder_(procFolder), id_(std::move(id)) {}

    // Its name as the system keeps it: the first 15 bytes of its program's file name, unless
    // the process renamed itself.
    const std::string& name();
    // The path of its executable.
    const std::string& executable();
    // Its working folder.
    std::string workingFolder() const;
    // The first word of its command line, as the process shows it.
    const std::string& firstArgument();
    // The words of its command line after the first.
    std::vector<std::string> otherArguments() const;
    // A variable of the environment it started with; nothing when it has none of that name.
    std::optional<std::string> environmentValue(std::string_view name) const;

private:
    std::string linkTarget(const char* link) const;

    int procFolder_;
    std::string id_;
    std::optional<std::string> name_;
    std::optional<std::string> executable_;
    std::optional<std::string> firstArgument_;
};

// The folder that holds the file a path names: all of the path before its last '/'.
std::optional<FolderIdentity> holderIdOf(const std::string& filePath);

// One kind of game process, set up once per scan for the System folder in use.
class GameKind {
public:
    virtual ~GameKind() = default;
    // Whether a process of that name (ProcessView::name) may be of this kind.
    virtual bool mayBeNamed(std::string_view name) const = 0;
    // The program's name when the process is of this kind and runs from the folder.
    virtual std::optional<std::string> program(ProcessView& process) const = 0;
};

// ut-bin* or ucc-bin* of the game's Linux build, in the folder or its System64 or SystemARM64.
std::unique_ptr<GameKind> linuxBuild(const std::string& systemFolder);
// UnrealTournament.exe or UCC.exe under Wine, resolved in the process's own prefix.
std::unique_ptr<GameKind> underWine(const std::string& systemFolder);

} // namespace GameProcess
