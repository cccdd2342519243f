#pragma once

#include "LineArray.h"

#include <array>
#include <functional>
#include <string>

// The five settings files of the modification, held in memory for the whole run, and the
// operations that load and save them all together.
namespace Startup {

// The game's install folder as the registry gives it; empty when it cannot be read.
extern std::string InstallFolder;
// The game's System folder, always ending in a separator; every settings file path is this
// followed directly by the file name.
extern std::string SystemDir;

extern LineArray QlLoadoutsArray;
extern LineArray QuillonModArray;
extern LineArray QuillonUserArray;
extern LineArray QuillonAIArray;
extern LineArray QLAuxArray;

// True while the loadouts window holds no unsaved edits.
extern bool LoadoutsSaved;

struct SettingsFile {
    const char* fileName;
    const char* selector; // the array's own name, by which key lookups name it
    LineArray* lines;
};

// The file set in its fixed order: QLLoadouts.ini, QuillonMod.ini, QuillonUser.ini,
// QuillonAI.ini, QLAux.ini.
const std::array<SettingsFile, 5>& settingsFiles();

// Replaces all five arrays from the files in SystemDir, in order. Right after QLLoadouts.ini is
// read, sets LoadoutsSaved and runs the loadouts hook. Throws FileError at the first file that
// cannot be read, is UTF-16 text or is too long; that file's array and the later ones are kept.
void LoadIniFiles();

// Writes all five arrays back to their files, every line ending in CR LF: all or nothing.
// Throws FileError naming the file that could not be written; then no file has changed.
void SaveIniFiles();

// Runs inside LoadIniFiles right after QLLoadouts.ini is read; the windows use it to put the
// loadouts window into its saved state.
void setLoadoutsReadHook(std::function<void()> hook);

// The native path of one settings file: SystemDir and the name, resolved for this platform.
std::string settingsFilePath(const char* fileName);

} // namespace Startup
