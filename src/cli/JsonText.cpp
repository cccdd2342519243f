#include "cli/JsonText.h"

namespace JsonText {

std::string quoted(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                constexpr char Hex[] = "0123456789abcdef";
                out += "\\u00";
                out += Hex[(c >> 4) & 0xF];
                out += Hex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string object(const std::vector<std::pair<std::string, std::optional<std::string>>>& members) {
    std::string out = "{";
    for (const auto& [name, value] : members) {
        out += out.size() > 1 ? ",\n  " : "\n  ";
        out += quoted(name) + ": " + (value ? quoted(*value) : "null");
    }
    return out + "\n}";
}

} // namespace JsonText
