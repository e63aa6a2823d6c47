#include <gtest/gtest.h>

#include "ui/wispfold_dlg_rules.h"

TEST(CenteredIconOrigin, PutsTheOddPixelRightAndDown) {
    const IconOrigin even = CenteredIconOrigin(100, 100, 32, 32);
    EXPECT_EQ(even.x, 34);
    EXPECT_EQ(even.y, 34);
    const IconOrigin odd = CenteredIconOrigin(101, 100, 32, 32);
    EXPECT_EQ(odd.x, 35);
    EXPECT_EQ(odd.y, 34);
}

TEST(CenteredIconOrigin, TruncatesTowardZeroInAClientSmallerThanTheIcon) {
    const IconOrigin origin = CenteredIconOrigin(20, 10, 32, 32);
    EXPECT_EQ(origin.x, -5);  // -11 / 2
    EXPECT_EQ(origin.y, -10); // -21 / 2
}

TEST(IsAboutBoxCommand, MatchesTheWholeSixteenCommandBlock) {
    EXPECT_TRUE(IsAboutBoxCommand(0x10));
    EXPECT_TRUE(IsAboutBoxCommand(0x1F));
    EXPECT_FALSE(IsAboutBoxCommand(0x0F));
    EXPECT_FALSE(IsAboutBoxCommand(0x20));
    // Bits above the low 16 are not looked at; the system's own commands never match.
    EXPECT_TRUE(IsAboutBoxCommand(0x10010));
    EXPECT_FALSE(IsAboutBoxCommand(0xF060)); // SC_CLOSE
    EXPECT_FALSE(IsAboutBoxCommand(0xF012)); // a move by the caption
}
