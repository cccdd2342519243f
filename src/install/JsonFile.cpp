#include "install/JsonFile.h"

#include "files/FileError.h"
#include "install/SmallFile.h"

namespace JsonFile {

std::optional<nlohmann::json> read(InstallSearch::Search& search, const std::string& route,
                                   const std::string& path) {
    std::string text;
    try {
        text = SmallFile::read(path);
    } catch (const FileError& error) {
        search.skip(route, path, error.reason());
        return std::nullopt;
    }
    // Parsed without exceptions: a file that is not JSON is discarded whole.
    auto json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded()) {
        search.skip(route, path, "not JSON");
        return std::nullopt;
    }
    return json;
}

std::string textOf(const nlohmann::json& object, const char* name) {
    if (!object.is_object())
        return {};
    const auto member = object.find(name);
    return member != object.end() && member->is_string() ? member->get<std::string>() : "";
}

} // namespace JsonFile
