#pragma once

#include <string>
#include <string_view>

// Letter case of the ASCII letters only, as the game's files and Windows' file names use it;
// bytes above 127 are left alone, so no code page is assumed.
namespace AsciiCase {

inline constexpr bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline constexpr char toUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
inline constexpr char toLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string toLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = toLower(c);
    return out;
}

inline bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (toUpper(a[i]) != toUpper(b[i]))
            return false;
    return true;
}

} // namespace AsciiCase
