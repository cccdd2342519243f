#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// JSON output: one object whose members are strings, or null for a value that is missing.
namespace JsonText {

// The text as a JSON string, quotes included. Quotes, backslashes and control characters are
// escaped, every other UTF-8 character is kept as it stands. A byte that is not part of a
// well-formed UTF-8 character (a folder's name in another encoding) becomes \udcXX, XX being
// the byte in hex: the lone low surrogate that Python's surrogateescape, and
// os.fsencode(), turn back into that very byte. The result is always valid UTF-8.
std::string quoted(std::string_view utf8);

// {"name": "value", ...}, one member a line, in the given order; no line end after "}".
std::string object(const std::vector<std::pair<std::string, std::optional<std::string>>>& members);

} // namespace JsonText
