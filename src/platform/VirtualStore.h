#pragma once

#include <optional>
#include <string>
#include <vector>

// Windows' file virtualisation: an old 32-bit program that asks for no execution level, and
// runs without elevation, has its writes below Program Files, Program Files (x86) and the Windows
// folder go to a copy in the user's VirtualStore folder, and reads that copy where there is one.
// Paths are UTF-8 in Windows form ('/' read as '\\'); folders are compared ignoring ASCII letter
// case.
namespace VirtualStore {

struct Places {
    std::vector<std::string> virtualised; // the folders whose files are virtualised
    std::string localAppData;             // %LOCALAPPDATA%, which holds VirtualStore
};

// This Windows' places, from the environment (ProgramFiles, ProgramFiles(x86), ProgramW6432,
// SystemRoot and LOCALAPPDATA); none elsewhere, where nothing is virtualised (Wine does not).
Places thisSystem();

// The VirtualStore folder that stands for a folder (ending in '\' when it does): the folder's
// path after its drive, below %LOCALAPPDATA%\VirtualStore. Nothing when the folder lies below no
// virtualised folder.
std::optional<std::string> storeFor(const std::string& folder, const Places& places);

// The folder whose VirtualStore copy a folder is; nothing when it is no such copy.
std::optional<std::string> originalOf(const std::string& storeFolder, const Places& places);

} // namespace VirtualStore
