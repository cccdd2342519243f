#pragma once

#include <string>
#include <vector>

// The games that Lutris' database (pga.db, SQLite) lists as installed. The database is read as an
// immutable, read-only file: nothing is written, no journal is made and no lock is taken beside
// it, since Lutris may hold it open while the search reads.
namespace LutrisDatabase {

struct Game {
    std::string runner;    // "wine", "linux", ...; empty when the database names none
    std::string directory; // the game's folder (for Wine, usually its prefix)
};

// The installed games in the order Lutris added them, those without a folder left out. Throws
// FileError, naming the file and SQLite's reason, when it is not a plain file, not a database,
// or not Lutris' (no table of games with those columns).
std::vector<Game> installedGames(const std::string& nativePath);

} // namespace LutrisDatabase
