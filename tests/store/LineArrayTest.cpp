#include "store/LineArray.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(LineArray, splitKeepsBytesBetweenTerminatorsAndAddsTheSpare) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"s), (LineArray{"a", "b", "c", "d", ""}));
    EXPECT_EQ(splitLines(""), (LineArray{""}));
    EXPECT_EQ(splitLines("\r\n"), (LineArray{"", ""}));
    EXPECT_EQ(splitLines("\n\r"), (LineArray{"", "", ""})); // LF then a lone CR: two lines
    EXPECT_EQ(splitLines("\0x\r\n"s), (LineArray{"\0x"s, ""}));
}

TEST(LineArray, joinEndsEveryLineWithCrLfAndDropsTheSpare) {
    EXPECT_EQ(joinLines({"a", "", "b", ""}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(joinLines({""}), "");
    EXPECT_EQ(joinLines({}), "");
}
