#include "cli/SetReport.h"

#include "cli/Failure.h"
#include "cli/JsonText.h"

std::string SetReport::text() const {
    std::string out;
    for (const auto& [setting, before, after] : settings)
        out += setting->name + ": " + quoted(before) +
               (before == after ? " (as it is)" : " -> " + quoted(after)) + "\n";
    if (files.empty())
        return out + "would write nothing: the files hold these values already\n";
    out += "would write";
    for (const auto& file : files)
        out += " " + file;
    return out + "\n";
}

std::string SetReport::json() const {
    std::string out =
        std::string("{\n  \"changed\": ") + (changed() ? "true" : "false") + ",\n  \"files\": [";
    for (const auto& file : files)
        out += (out.ends_with('[') ? "" : ", ") + JsonText::quoted(file);
    out += "],\n  \"settings\": {";
    for (const auto& [setting, before, after] : settings)
        out += (out.ends_with('{') ? "\n    " : ",\n    ") + JsonText::quoted(setting->name) +
               ": {\"before\": " + JsonText::quoted(before) +
               ", \"after\": " + JsonText::quoted(after) + "}";
    return out + "\n  },\n  \"systemDir\": " + JsonText::quoted(systemDir) + "\n}";
}
