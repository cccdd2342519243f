#pragma once

#include "files/FileIo.h"
#include "files/FileIoSteps.h"
#include "files/FolderLock.h"
#include "store/Startup.h"

#include "TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// The five settings files in versions that a test tells apart: every line of version v of a file
// begins with v, and a version's files differ from each other.
namespace FileVersions {

// Version v of the f-th settings file, of that many lines.
inline std::string contents(std::size_t file, char version, int lines) {
    std::string bytes;
    for (int line = 0; line < lines; ++line)
        bytes +=
            std::string(1, version) + std::to_string(file) + "-" + std::to_string(line) + "\r\n";
    return bytes;
}

// Writes version v of the five files into the folder.
inline void write(const std::filesystem::path& folder, char version, int lines) {
    for (std::size_t f = 0; f < Startup::settingsFiles().size(); ++f)
        std::ofstream(folder / Startup::settingsFiles()[f].fileName, std::ios::binary)
            << contents(f, version, lines);
}

// The version each of the five files in the folder holds, in file set order; '?' for one torn,
// missing or not of its own place.
inline std::string versions(const std::filesystem::path& folder, int lines) {
    std::string held;
    for (std::size_t f = 0; f < Startup::settingsFiles().size(); ++f) {
        const std::string bytes = TempDir::bytesOf(folder / Startup::settingsFiles()[f].fileName);
        held += !bytes.empty() && bytes == contents(f, bytes[0], lines) ? bytes[0] : '?';
    }
    return held;
}

// The version that the five files in the folder hold, all of them whole; '?' when one is torn,
// missing, or of another version than the others.
inline char held(const std::filesystem::path& folder, int lines) {
    const std::string each = versions(folder, lines);
    return each.find_first_not_of(each[0]) == std::string::npos ? each[0] : '?';
}

// A path as the program spells it: UTF-8.
inline std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// Saves a version of the five files in the folder, with the hook, as a save does once it holds
// the folder's lock (and has found nothing to recover).
inline void saveVersion(const std::filesystem::path& folder, char version, int lines,
                        const SaveStepHook& hook) {
    Startup::SystemDir = utf8(folder / "");
    std::vector<std::string> paths;
    for (const auto& file : Startup::settingsFiles())
        paths.push_back(Startup::settingsFilePath(file.fileName));
    const FolderLock lock(paths, FolderLock::Mode::Exclusive);
    replaceFiles(
        lock, paths, [=](std::size_t i) { return ByteBlock(contents(i, version, lines)); }, hook);
}
inline void saveVersionN(const std::filesystem::path& folder, int lines, const SaveStepHook& hook) {
    saveVersion(folder, 'N', lines, hook);
}

// The names in the folder besides the five settings files, in order. The folder is listed as the
// program lists it, since the library's own listing stops at 260 characters on Windows; a listing
// that misses a settings file says so.
inline std::vector<std::string> namesBeside(const std::filesystem::path& folder) {
    auto names = FileIoSteps::namesIn(utf8(folder / ""));
    const auto isSettingsFile = [](const std::string& name) {
        return std::ranges::any_of(Startup::settingsFiles(),
                                   [&](const auto& file) { return name == file.fileName; });
    };
    const auto settingsFiles = std::ranges::count_if(names, isSettingsFile);
    std::erase_if(names, [&](const std::string& name) {
        return name == "." || name == ".." || isSettingsFile(name);
    });
    if (settingsFiles != static_cast<std::ptrdiff_t>(Startup::settingsFiles().size()))
        names.push_back("(a settings file missing from the listing)");
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace FileVersions
