#pragma once

#include <string>

// What the game installed in a System folder reads, as far as its files tell.
namespace InstalledPatch {

// Whether the game is the community patch 469 or later, which reads settings files as UTF-8 (and
// a file that is not UTF-8 in the code page). It is told by the Cluster audio driver, which 469
// brought in as new and ships in every System folder of its own (Cluster.dll on Windows,
// Cluster.so on Linux and under System64); the other drivers it ships were add-ons for the 1999
// game before, so they tell nothing. A folder that cannot be read holds neither.
bool readsUtf8(const std::string& systemDir);

} // namespace InstalledPatch
