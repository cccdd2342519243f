#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, everyByteDecodesAndEncodesBackToItself) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const auto text = CodePage::decode(all);
    EXPECT_EQ(CodePage::encode(text), all);
}

TEST(CodePage, characterOutsideTheCodePageIsRefusedWithItsPosition) {
    std::size_t bad = 99;
    EXPECT_EQ(CodePage::encode(u"ab\u4E2Dc", &bad), std::nullopt);
    EXPECT_EQ(bad, 2u);
    EXPECT_EQ(CodePage::encode(u"plain"), "plain");
}
