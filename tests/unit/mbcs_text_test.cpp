#include <gtest/gtest.h>

#include <string>

#include "classlib/mbcs_text.h"

using namespace std::string_literals;

// The application is named after the executable; a folder or a file name whose double-byte
// characters end in 0x5C must not be cut there.
TEST(ExeNameFromModulePath, TakesTheFileNameWithoutItsExtension) {
    EXPECT_EQ(ExeNameFromModulePath("C:\\Program Files\\Wispfold\\Wispfold.EXE"), "Wispfold");
    EXPECT_EQ(ExeNameFromModulePath("C:\\tools\\Renamed.exe"), "Renamed");
    EXPECT_EQ(ExeNameFromModulePath("Wispfold.exe"), "Wispfold");
    EXPECT_EQ(ExeNameFromModulePath("C:Wispfold.exe"), "Wispfold");
    EXPECT_EQ(ExeNameFromModulePath("C:\\x\\Wispfold.v2.exe"), "Wispfold.v2");
    // A dot in a folder is no extension of the file; a blank after the last dot ends one.
    EXPECT_EQ(ExeNameFromModulePath("C:\\a.b\\prog"), "prog");
    EXPECT_EQ(ExeNameFromModulePath("C:\\x\\my.app x"), "my.app x");
}

TEST(ExeNameFromModulePath, TrailBytesThatLookLikeBackslashesAreNoSeparators) {
    ASSERT_EQ("表"s, "\x95\x5C"s);
    EXPECT_EQ(ExeNameFromModulePath("C:\\表\\Wispfold.exe"), "Wispfold");
    EXPECT_EQ(ExeNameFromModulePath("C:\\x\\表.exe"), "表");
    EXPECT_EQ(ExeNameFromModulePath("D:\\ソフト\\能力表.exe"), "能力表");
    EXPECT_EQ(ExeNameFromModulePath("C:\\表示\\ソ"), "ソ");
}

TEST(FilterToNulSeparated, TurnsBarsIntoZeroBytesEndingInTwo) {
    EXPECT_EQ(FilterToNulSeparated("テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*||"),
              "テキストファイル(*.txt)\0*.txt\0全てのファイル(*.*)\0*.*\0\0"s);
    // Without its closing bars the list still ends in an empty part.
    EXPECT_EQ(FilterToNulSeparated("A|*.a"), "A\0*.a\0\0"s);
    EXPECT_EQ(FilterToNulSeparated("A|*.a|"), "A\0*.a\0\0"s);
    EXPECT_EQ(FilterToNulSeparated(""), "\0\0"s);
}

TEST(FilterToNulSeparated, TrailBytesThatLookLikeBarsStay) {
    ASSERT_EQ("ポ"s, "\x83\x7C"s);
    EXPECT_EQ(FilterToNulSeparated("ポイント(*.pt)|*.pt||"), "ポイント(*.pt)\0*.pt\0\0"s);
}
