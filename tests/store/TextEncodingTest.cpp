#include "store/TextEncoding.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

// The game's rule: UTF-16LE after its mark, UTF-8 when the bytes are UTF-8 through and through,
// else the code page; all-ASCII bytes are in none in particular.
TEST(TextEncoding, filesAreTakenAsTheGameTakesThem) {
    const std::string ascii(40, 'x'); // longer than the bytes looked at in one step
    const struct {
        std::string bytes;
        std::optional<TextEncoding> encoding;
    } cases[] = {
        {"", std::nullopt},
        {ascii + "\r\nKey=1\0"s, std::nullopt},
        {"Name=J\xC3\xB6rg \xE2\x82\xAC \xF0\x9F\x98\x80", TextEncoding::Utf8},
        {"\xEF\xBB\xBFKey=1", TextEncoding::Utf8},
        {"\xFF\xFEK\0=\0"s, TextEncoding::Utf16Le},
        {ascii + "Name=J\xF6rg", TextEncoding::CodePage},
        {"Name=J\xC3\xB6rg, then J\xF6rg", TextEncoding::CodePage}, // UTF-8 breaks part way
        {"cut \xC3", TextEncoding::CodePage},
        {"overlong \xC0\xAF", TextEncoding::CodePage},
        {"surrogate \xED\xA0\x80", TextEncoding::CodePage},
    };
    for (const auto& c : cases)
        EXPECT_EQ(encodingOf(c.bytes), c.encoding) << c.bytes;
}

} // namespace
