#include "platform/CodePage.h"

#include <array>

namespace CodePage {

namespace {

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves undefined map to the
// control characters of the same number, as Windows itself maps them, so they survive a round trip.
constexpr std::array<char16_t, 32> High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> encodeOne(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < High.size(); ++i)
        if (High[i] == c)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

} // namespace

std::u16string decode(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        text.push_back(u >= 0x80 && u < 0xA0 ? High[u - 0x80] : static_cast<char16_t>(u));
    }
    return text;
}

std::optional<std::string> encode(std::u16string_view text, std::size_t* badIndex) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = encodeOne(text[i]);
        if (!b) {
            if (badIndex)
                *badIndex = i;
            return std::nullopt;
        }
        bytes.push_back(*b);
    }
    return bytes;
}

std::optional<std::size_t> characterBytes(std::string_view bytes, std::size_t n) {
    // Windows-1252 takes one byte for each character.
    if (n > bytes.size())
        return std::nullopt;
    return n;
}

} // namespace CodePage
