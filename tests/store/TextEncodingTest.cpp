#include "store/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

// The game's rule for bytes that are not UTF-8 through and through: they are in the code page.
// (Files of each encoding are loaded and saved in EncodingsTest.)
TEST(TextEncoding, bytesThatAreNotWholeUtf8AreInTheCodePage) {
    const std::string ascii(40, 'x'); // longer than the bytes looked at in one step
    const std::pair<std::string, std::optional<TextEncoding>> cases[] = {
        {ascii + "\r\n", std::nullopt},
        {"\xEF\xBB\xBF" + ascii, TextEncoding::Utf8},
        {ascii + "J\xC3\xB6rg, then J\xF6rg", TextEncoding::CodePage}, // breaks part way
        {"cut \xC3", TextEncoding::CodePage},
        {"overlong \xC0\xAF", TextEncoding::CodePage},
        {"surrogate \xED\xA0\x80", TextEncoding::CodePage},
    };
    for (const auto& [bytes, encoding] : cases)
        EXPECT_EQ(encodingOf(bytes), encoding) << bytes;
}

} // namespace
