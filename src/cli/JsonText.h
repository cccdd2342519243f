#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// JSON output: one object whose members are strings, or null for a value that is missing.
namespace JsonText {

// The text as a JSON string, quotes included. The text is UTF-8; quotes, backslashes and
// control characters are escaped, every other character is kept as it stands.
std::string quoted(std::string_view utf8);

// {"name": "value", ...}, one member a line, in the given order; no line end after "}".
std::string object(const std::vector<std::pair<std::string, std::optional<std::string>>>& members);

} // namespace JsonText
