#pragma once

#include "install/InstallSearch.h"

#include <string>

// The folder whose settings files the game reads, settled once the search has found its install,
// and what must be done before its files are loaded.
namespace SettingsFolder {

// Settles the result's systemDir, installDir, why and toCopy from the folder the search found
// (result.systemDir):
// - a native build of the community's (a ut-bin* or ucc-bin* in the install's System, System64
//   or SystemARM64 folder, or a System64 or SystemARM64 folder without the Windows programs; or
//   the newest build Luxtorpeda made in the game's folder, linuxdata-*, whose run folders hold
//   ut-bin beside links to the game's own files) runs from the first of its run folders, in
//   the order this machine runs them, that holds QLLoadouts.ini (the folder found, when none
//   does). Where its preference folder (~/.utpg/System; on a Mac, ~/Library/Application
//   Support/Unreal Tournament/System) holds any of the five settings files, letter case ignored,
//   the five are edited there (those it lacks, where the install has them, are read from the
//   install, and the first save copies them there: Startup::GameSystemDir); otherwise in the
//   folder it runs from;
// - on Windows, an install below Program Files, Program Files (x86) or the Windows folder whose
//   UnrealTournament.exe is a 32-bit program asking for no execution level runs virtualised:
//   where its VirtualStore folder holds any of the five, the five are edited there, those it
//   lacks read from the install and copied there by the first save;
// - any other install is edited where it is.
// Reads a few folders and the game's program file; writes nothing.
void settle(InstallSearch::Result& result);

// Throws FileError naming the folder when the program cannot make new files in it, and so
// cannot save the settings there; its reason says why, and what to do about it (run as
// administrator, or move the game out of Program Files).
void refuseUnwritable(const std::string& systemDir);

} // namespace SettingsFolder
