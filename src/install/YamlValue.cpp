#include "install/YamlValue.h"

namespace YamlValue {

namespace {

struct Line {
    std::size_t indent;
    std::string_view key;
    std::string_view value; // what follows "key:", spaces and a comment taken away
};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A line of a block mapping ("key: value"); nothing for a blank line, a comment or anything else.
std::optional<Line> mappingLine(std::string_view line) {
    const std::size_t indent = line.find_first_not_of(' ');
    const std::size_t colon = line.find(':');
    if (indent == std::string_view::npos || line[indent] == '#' ||
        colon == std::string_view::npos || colon < indent ||
        (colon + 1 < line.size() && line[colon + 1] != ' '))
        return std::nullopt;
    std::string_view value = line.substr(colon + 1);
    // A comment ends a plain value; a quoted one is cut at its closing quote below.
    if (!trimmed(value).starts_with('"') && !trimmed(value).starts_with('\''))
        value = value.substr(0, std::min(value.find(" #"), value.size()));
    return Line{indent, trimmed(line.substr(indent, colon - indent)), trimmed(value)};
}

std::optional<std::string> scalar(std::string_view value) {
    if (value.empty() || value == "~" || value == "null" || value == "Null" || value == "NULL")
        return std::nullopt;
    std::string text;
    if (value.front() == '\'') {
        for (std::size_t i = 1; i < value.size(); ++i) {
            if (value[i] != '\'')
                text += value[i];
            else if (i + 1 < value.size() && value[i + 1] == '\'')
                text += value[++i];
            else
                return text.empty() ? std::nullopt : std::optional(text);
        }
        return std::nullopt; // never closed
    }
    if (value.front() == '"') {
        for (std::size_t i = 1; i < value.size(); ++i) {
            if (value[i] == '"')
                return text.empty() ? std::nullopt : std::optional(text);
            if (value[i] == '\\' && i + 1 < value.size()) {
                const char next = value[++i];
                text += next == 't' ? '\t' : next;
            } else {
                text += value[i];
            }
        }
        return std::nullopt;
    }
    // A flow collection or a block scalar is no plain text.
    if (value.front() == '[' || value.front() == '{' || value.front() == '|' ||
        value.front() == '>')
        return std::nullopt;
    return std::string(value);
}

} // namespace

std::optional<std::string> find(std::string_view yaml, std::string_view key,
                                std::string_view nestedKey) {
    bool inOuter = false; // within the top-level key's nested mapping
    std::size_t nestedIndent = 0;
    for (std::size_t at = 0; at < yaml.size();) {
        const std::size_t end = std::min(yaml.find('\n', at), yaml.size());
        const auto line = mappingLine(yaml.substr(at, end - at));
        at = end + 1;
        if (!line)
            continue;
        if (line->indent == 0) {
            if (line->key == key && nestedKey.empty())
                return scalar(line->value);
            inOuter = line->key == key && line->value.empty();
            nestedIndent = 0;
        } else if (inOuter) {
            // The nested mapping's keys are those at its first line's indent.
            if (nestedIndent == 0)
                nestedIndent = line->indent;
            if (line->indent == nestedIndent && line->key == nestedKey)
                return scalar(line->value);
        }
    }
    return std::nullopt;
}

} // namespace YamlValue
