#include "platform/Utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, wellFormedTextOfEveryLengthDecodesAndEncodesBack) {
    for (const std::string text : {"", "plain", "Caf\xc3\xa9", "\xe2\x82\xac 5", "\xf0\x9f\x97\xa1",
                                   "\xef\xbf\xbf\xf4\x8f\xbf\xbf"}) {
        const auto utf16 = utf16FromUtf8(text);
        ASSERT_TRUE(utf16) << text;
        EXPECT_EQ(utf8FromUtf16(*utf16), text);
    }
    EXPECT_EQ(utf16FromUtf8("\xf0\x9f\x97\xa1"), u"\U0001F5E1");
}

TEST(Utf8, malformedTextIsRefused) {
    for (const std::string text : {
             "\x80",             // a continuation byte alone
             "ab\xc3",           // cut short
             "\xe2\x82x",        // a sequence broken by an ASCII byte
             "\xc0\xaf",         // an overlong form of '/'
             "\xe0\x80\xaf",     // another
             "\xed\xa0\x80",     // a surrogate
             "\xf4\x90\x80\x80", // beyond U+10FFFF
             "\xff",
         })
        EXPECT_EQ(utf16FromUtf8(text), std::nullopt) << text;
}
