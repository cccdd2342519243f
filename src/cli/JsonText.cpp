#include "cli/JsonText.h"

namespace JsonText {

namespace {

constexpr char Hex[] = "0123456789abcdef";

// The length of the well-formed UTF-8 character at text[at]; 0 when the byte starts none.
std::size_t characterLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
    };
    const unsigned lead = byte(0);
    const auto follows = [&](std::size_t i, unsigned low = 0x80, unsigned high = 0xBF) {
        return byte(i) >= low && byte(i) <= high;
    };
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return follows(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) // no overlong form, no surrogate
        return follows(1, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF) && follows(2) ? 3
                                                                                                : 0;
    if (lead >= 0xF0 && lead <= 0xF4) // up to U+10FFFF
        return follows(1, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF) && follows(2) &&
                       follows(3)
                   ? 4
                   : 0;
    return 0;
}

} // namespace

std::string quoted(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        const char c = utf8[at];
        if (const std::size_t length = characterLength(utf8, at); length != 1) {
            if (length == 0)
                out.append("\\udc").append(1, Hex[(c >> 4) & 0xF]).append(1, Hex[c & 0xF]);
            else
                out.append(utf8.substr(at, length));
            at += length == 0 ? 0 : length - 1;
            continue;
        }
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
