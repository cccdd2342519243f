#include "install/LutrisDatabase.h"

#include "files/FileError.h"

#include <cctype>
#include <filesystem>
#include <memory>
#include <sqlite3.h>

namespace LutrisDatabase {

namespace {

// The path as a URI that SQLite opens without writing: every byte but the letters, digits and
// the few marks a path needs written %HH, so that '?', '#' and '%' in a folder's name stay
// part of the name.
std::string readOnlyUri(const std::string& path) {
    static const char Hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~')
            uri += c;
        else
            uri += {'%', Hex[byte >> 4], Hex[byte & 0xF]};
    }
    return uri + "?mode=ro&immutable=1";
}

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinishStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

std::string textOf(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : "";
}

} // namespace

std::vector<Game> installedGames(const std::string& nativePath) {
    // A pipe or a device of that name is never opened: SQLite would wait on it.
    std::error_code error;
    const auto status = std::filesystem::status(nativePath, error);
    if (error)
        throw FileError(nativePath, error);
    if (!std::filesystem::is_regular_file(status))
        throw FileError(nativePath, std::make_error_code(std::errc::invalid_argument),
                        "not a plain file");
    sqlite3* opened = nullptr;
    const int opening = sqlite3_open_v2(readOnlyUri(nativePath).c_str(), &opened,
                                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    const std::unique_ptr<sqlite3, CloseDatabase> db(opened);
    const auto refuse = [&](int code) {
        return FileError(nativePath, std::make_error_code(std::errc::invalid_argument),
                         db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(code));
    };
    if (opening != SQLITE_OK)
        throw refuse(opening);
    sqlite3_stmt* prepared = nullptr;
    const int prepare = sqlite3_prepare_v2(
        db.get(), "SELECT runner, directory FROM games WHERE installed = 1 ORDER BY id", -1,
        &prepared, nullptr);
    const std::unique_ptr<sqlite3_stmt, FinishStatement> statement(prepared);
    if (prepare != SQLITE_OK)
        throw refuse(prepare);
    std::vector<Game> games;
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        Game game{textOf(statement.get(), 0), textOf(statement.get(), 1)};
        if (!game.directory.empty())
            games.push_back(std::move(game));
    }
    if (step != SQLITE_DONE)
        throw refuse(step);
    return games;
}

} // namespace LutrisDatabase
