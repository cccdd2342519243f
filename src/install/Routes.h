#pragma once

#include "install/Search.h"
#include "install/WindowsView.h"

#include <string>

// The places the game's installers put it, in the order InstallSearch.h lists them: one table of
// routes for a Windows (WindowsRoutes.cpp), one for the user's folders on Linux
// (HomeRoutes_posix.cpp). Each route looks at its folders through the search, and stops once one
// has been found.
namespace InstallSearch::Routes {

// 1 and a to d, in order, in this Windows or a Wine prefix. installFolder is the registry's
// install folder as start-up read it, for the system in use; another prefix's is read from that
// prefix.
void inWindows(Search& search, WindowsView& windows, const std::string& installFolder);

// e to p, in order, on Linux; on Windows there is nothing beyond the system itself.
void inHome(Search& search);

} // namespace InstallSearch::Routes
