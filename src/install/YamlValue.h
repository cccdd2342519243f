#pragma once

#include <optional>
#include <string>
#include <string_view>

// The one text value the search needs from a small YAML settings file of Bottles (data.yml) or
// Lutris (system.yml): a key of the top-level mapping, or of a mapping nested in it. Only block
// mappings are followed; a value may be plain, 'single-quoted' or "double-quoted" (with \\, \"
// and \t escapes), and a # after a space starts a comment.
namespace YamlValue {

// The text of the key at the end of the path ("custom_bottles_path", or "system" then
// "game_path"); nothing when it is missing, empty, null (~ or null) or not text.
std::optional<std::string> find(std::string_view yaml, std::string_view key,
                                std::string_view nestedKey = {});

} // namespace YamlValue
