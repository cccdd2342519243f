#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One settings file in memory: element k holds line k + 1 as raw bytes, without its terminator,
// and the last element is always one spare empty element.
using LineArray = std::vector<std::string>;

// Line positions are 16-bit signed, so a file may hold at most this many lines (plus the spare).
inline constexpr std::size_t MaxLinesPerFile = 32766;

// Splits file bytes into lines ended by CR, CR LF or a lone LF, and appends the spare element.
// The bytes between terminators are kept exactly; nothing is decoded.
LineArray splitLines(std::string_view bytes);

// Whether the bytes hold a CR or an LF, which would end a line in a file.
bool holdsLineBreak(std::string_view bytes);

// The bytes a save writes: every line before the spare one, each followed by CR LF.
std::string joinLines(const LineArray& lines);

// Number of lines a file produces when split, counting no further than one past limit, so that
// a load refuses an over-long file without walking all of it.
std::size_t countLines(std::string_view bytes, std::size_t limit = static_cast<std::size_t>(-1));
