#include <gtest/gtest.h>

#include <cstring>

#include "classlib/cstring.h"

// The sources are UTF-8 and the program's texts code page 932: these literals must arrive as
// the double-byte codes whose second byte is a backslash or a letter.
TEST(CodePage, JapaneseLiteralsCompileToCodePage932) {
    EXPECT_STREQ("ソ", "\x83\x5C");
    EXPECT_STREQ("表", "\x95\x5C");
    EXPECT_STREQ("能", "\x94\x5C");
    EXPECT_STREQ("ア", "\x83\x41");
    EXPECT_STREQ("ツ", "\x83\x63");
}

TEST(CStringBasics, ConcatenationCopiesAndGrows) {
    CString a("Cookies");
    CString b = a;
    b += "\\";
    EXPECT_EQ(a, "Cookies");
    EXPECT_EQ(b, "Cookies\\");
    EXPECT_EQ(b + "Low\\", "Cookies\\Low\\");
    EXPECT_EQ("C:\\" + b, "C:\\Cookies\\");

    CString big;
    for (int i = 0; i < 1000; ++i)
        big += "x";
    EXPECT_EQ(big.GetLength(), 1000);
    EXPECT_EQ(std::strlen(big), 1000u);
}

TEST(CStringBasics, SelfAppendAndSelfAssignKeepTheText) {
    CString s("ab");
    s += s;
    EXPECT_EQ(s, "abab");
    s = s.GetString() + 1;
    EXPECT_EQ(s, "bab");
    CString& alias = s;
    s = alias;
    EXPECT_EQ(s, "bab");
}

TEST(CStringBasics, EmptyStringsBehave) {
    CString s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s, "");
    EXPECT_EQ(s.Find("a"), -1);
    EXPECT_EQ(s.Find(""), 0);
    s.MakeUpper();
    EXPECT_TRUE(s.IsEmpty());
    CString moved(std::move(s));
    EXPECT_TRUE(moved.IsEmpty());
}

TEST(CStringFormat, PercentSCopiesTheBytes) {
    CString s;
    s.Format("%s", "表示.txt");
    EXPECT_EQ(s, "表示.txt");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    std::string longName(300, 'n');
    s.Format("%s", longName.c_str());
    EXPECT_EQ(s.GetLength(), 300);
}

TEST(CStringFind, FindsSubstringsCaseSensitively) {
    CString s("user@site.txt.bak");
    EXPECT_EQ(s.Find(".txt"), 9);
    EXPECT_EQ(s.Find(".TXT"), -1);
    EXPECT_EQ(s.Find(".txt", 10), -1);
    EXPECT_EQ(s.Find("user"), 0);
    EXPECT_EQ(s.Find("bak"), 14);
    EXPECT_EQ(s.Find("x", 100), -1);
    EXPECT_EQ(s.Find("x", -1), -1);
}

TEST(CStringFind, NeverMatchesOnTheSecondByteOfACharacter) {
    // 表 is 95 5C: its second byte is a backslash, but it holds no backslash.
    EXPECT_EQ(CString("表").Find("\\"), -1);
    EXPECT_EQ(CString("C:\\表\\").Find("\\", 3), 5);
    EXPECT_EQ(CString("ソフト\\").Find("\\"), 6);
    // ア is 83 41: its second byte is "A".
    EXPECT_EQ(CString("アA").Find("A"), 2);
    EXPECT_EQ(CString("ア").Find("A"), -1);
    // A search from the middle of a character begins at the next whole character.
    EXPECT_EQ(CString("表\\").Find("\\", 1), 2);
}

TEST(CStringUpper, ChangesOnlySingleByteLetters) {
    CString s("Windows Internet Explorer - about:blank");
    s.MakeUpper();
    EXPECT_EQ(s, "WINDOWS INTERNET EXPLORER - ABOUT:BLANK");

    // ツ is 83 63 ("c" as second byte); upper-casing the byte would turn it into 83 43 (イ).
    CString j("ツaア");
    j.MakeUpper();
    EXPECT_EQ(j, "ツAア");
    EXPECT_STREQ(j, "\x83\x63"
                    "A"
                    "\x83\x41");
}

// Lead bytes come in two ranges, 81-9F and E0-FC; a trail byte may be a lower-case letter.
TEST(CStringUpper, LeadBytesOfBothRangesKeepTheirTrailBytes) {
    for (const char* psz : {"\x81\x61", "\x9F\x61", "\xE0\x61", "\xEA\x61", "\xFC\x61"}) {
        CString s(psz);
        s += "a";
        s.MakeUpper();
        EXPECT_EQ(std::string(s), std::string(psz) + "A") << "lead byte " << +(unsigned char)psz[0];
        EXPECT_EQ(CString(psz).Find("a"), -1) << "lead byte " << +(unsigned char)psz[0];
    }
    // Bytes outside both ranges are single characters.
    CString single("\xA0"
                   "a"
                   "\xFD"
                   "a");
    single.MakeUpper();
    EXPECT_STREQ(single, "\xA0"
                         "A"
                         "\xFD"
                         "A");
}

TEST(CStringUpper, LoneLeadByteAtTheEndIsLeftAlone) {
    CString s("ab\x83");
    s.MakeUpper();
    EXPECT_STREQ(s, "AB\x83");
    EXPECT_EQ(s.Find("\x83"), 2);
}
