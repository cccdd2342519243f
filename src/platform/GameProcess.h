#pragma once

#include <optional>
#include <string>

// The game running from a System folder. It reads the settings files only when it starts and
// may write its own settings over them when it closes, so a save made while it runs is likely
// to be lost.
namespace GameProcess {

struct Running {
    std::string program; // the program's file name as the system shows it: "UCC.exe", "ut-bin"
    long long id = 0;    // its process id
};

// The first process of this user that runs the game from the folder, a native path as
// NativePath::resolve gives it (UTF-8 on Windows):
// - on Windows, UnrealTournament.exe or UCC.exe whose image lies in that folder, compared
//   ignoring letter case, or, for a VirtualStore folder, in the folder it is the copy of;
// - elsewhere, ut-bin* or ucc-bin* whose executable lies in that folder or in its sibling
//   System64 or SystemARM64 (the same folders, not the same spelling), or whose preference
//   folder it is (~/.utpg/System of the process's home, or the folder its -sethomedir= names,
//   unless it was started with -nohomedir); or a Wine process
//   running UnrealTournament.exe or UCC.exe from the folder, by the path its command line
//   starts with: a Windows path resolved in the process's own Wine prefix (its WINEPREFIX, else
//   ~/.wine), or a Linux path, absolute or from its working folder.
// Processes of other users and processes that cannot be read are passed over without a word.
// Nothing when none runs from the folder. Throws nothing but std::bad_alloc.
std::optional<Running> runningFrom(const std::string& systemFolder);

} // namespace GameProcess
