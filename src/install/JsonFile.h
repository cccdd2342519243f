#pragma once

#include "install/Search.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

// Another program's small JSON file (Heroic's stores, Minigalaxy's settings), read with
// nlohmann-json.
namespace JsonFile {

// The file parsed; nothing, the search told why, when it cannot be read or is not JSON.
std::optional<nlohmann::json> read(InstallSearch::Search& search, const std::string& route,
                                   const std::string& path);

// The text of a member of a JSON object; empty when the value is no object, or the member is
// missing or not text.
std::string textOf(const nlohmann::json& object, const char* name);

} // namespace JsonFile
