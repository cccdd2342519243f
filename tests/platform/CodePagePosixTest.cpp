#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePageWindows1252, highBytesMapToTheirCharacters) {
    EXPECT_EQ(CodePage::decode("\x80\xE9\x9F\xFF"), u"\u20AC\u00E9\u0178\u00FF");
    EXPECT_EQ(CodePage::encode(u"\u20AC\u00E9"), "\x80\xE9");
}
