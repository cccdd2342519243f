#include "cli/WhereReport.h"

#include "cli/JsonText.h"

namespace WhereReport {

std::string text(const InstallSearch::Result& result) {
    std::string out;
    for (const auto& place : result.places)
        out += InstallSearch::reportLine(place) + "\n";
    if (result.systemDir.empty())
        return out + "uses      nothing: no folder above holds QLLoadouts.ini\n";
    return out + "install   " + result.installDir + "\nuses      " + result.systemDir +
           (result.why.empty() ? "" : "  (" + result.why + ")") + "\n";
}

std::string json(const InstallSearch::Result& result) {
    std::string out = "{\n  \"places\": [";
    for (const auto& place : result.places) {
        const std::string member =
            JsonText::object({{"outcome", InstallSearch::nameOf(place.outcome)},
                              {"folder", place.folder},
                              {"route", place.route},
                              {"reason", place.reason}});
        out += (out.ends_with('[') ? "\n    " : ",\n    ");
        for (const char c : member)
            out += c == '\n' ? std::string("\n    ") : std::string(1, c);
    }
    out += result.places.empty() ? "],\n" : "\n  ],\n";
    const auto textOrNull = [](const std::string& text) {
        return text.empty() ? std::string("null") : JsonText::quoted(text);
    };
    out += "  \"installDir\": " + textOrNull(result.installDir) +
           ",\n  \"systemDir\": " + textOrNull(result.systemDir) +
           ",\n  \"why\": " + textOrNull(result.why) + ",\n  \"toCopy\": [";
    for (const auto& name : result.toCopy)
        out += (out.ends_with('[') ? "" : ", ") + JsonText::quoted(name);
    return out + "]\n}";
}

} // namespace WhereReport
