#include "cli/WhereReport.h"

#include "cli/JsonText.h"

namespace WhereReport {

std::string text(const InstallSearch::Result& result) {
    std::string out;
    for (const auto& place : result.places)
        out += InstallSearch::reportLine(place) + "\n";
    return out + "uses      " +
           (result.systemDir.empty() ? "nothing: no folder above holds QLLoadouts.ini"
                                     : result.systemDir) +
           "\n";
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
    return out + "  \"systemDir\": " +
           (result.systemDir.empty() ? "null" : JsonText::quoted(result.systemDir)) + "\n}";
}

} // namespace WhereReport
