#include <gtest/gtest.h>

#include "sweep/cookie_sweeper.h"
#include "tests/unit/fake_sweep_port.h"

namespace {
const char kQuestion[] =
    "削除できないクッキーファイルがあります。ファイル属性を変えて削除しますか？\n"
    "ファイル名：";
const char kNoFolder[] = "クッキーファイルが特殊な場所にある為、削除できません。";
const std::string kDir = "C:\\Cookies\\";

class CookiePurge : public ::testing::Test {
protected:
    CookiePurge() : sweeper(port) {
        sweeper.m_strCookieDir = kDir.c_str();
        sweeper.m_nSweepMode = SWEEP_FOLDER;
        port.AddFolder(kDir);
    }
    CFakeSweepPort port;
    CCookieSweeper sweeper;
};
} // namespace

TEST_F(CookiePurge, DeletesEveryNameContainingLowerCaseTxtAndNothingElse) {
    for (const char* name : {"user@site[1].txt", "a.dat", "b.ini", "upper.TXT", "c.txt.bak", "ctxt",
                             "index.dat", "mixed.Txt", ".txt", ".txt.bak"})
        port.AddFile(kDir + name);

    sweeper.PurgeCookies();

    EXPECT_EQ(port.Listing(kDir), (std::vector<std::string>{"a.dat", "b.ini", "ctxt", "index.dat",
                                                            "mixed.Txt", "upper.TXT"}));
    EXPECT_TRUE(port.Questions().empty());
    EXPECT_EQ(port.m_listedPatterns, (std::vector<std::string>{"C:\\Cookies\\*.*"}));
}

TEST_F(CookiePurge, DoubleByteNamesAreDeletedAndNamedWholeInTheQuestion) {
    port.AddFile(kDir + "表示ソフト.txt");
    CFakeSweepPort::Entry readOnly;
    readOnly.bReadOnly = true;
    port.AddFile(kDir + "能.txt", readOnly);
    port.QueueAnswers({kIdNo});

    sweeper.PurgeCookies();

    EXPECT_EQ(port.Listing(kDir), (std::vector<std::string>{"能.txt"}));
    ASSERT_EQ(port.Questions().size(), 1u);
    EXPECT_EQ(port.Questions()[0].strText, std::string(kQuestion) + "能.txt");
    EXPECT_EQ(port.Questions()[0].nType, kMbYesNo);
}

TEST_F(CookiePurge, ReadOnlyFileWithYesIsMadeNormalAndDeleted) {
    CFakeSweepPort::Entry readOnly;
    readOnly.bReadOnly = true;
    port.AddFile(kDir + "ro.txt", readOnly);
    port.QueueAnswers({kIdYes});

    sweeper.PurgeCookies();

    EXPECT_FALSE(port.Exists(kDir + "ro.txt"));
    ASSERT_EQ(port.Questions().size(), 1u);
    EXPECT_EQ(port.Questions()[0].strText, std::string(kQuestion) + "ro.txt");
}

TEST_F(CookiePurge, ReadOnlyFileWithNoIsKeptAndAskedAgainNextPass) {
    CFakeSweepPort::Entry readOnly;
    readOnly.bReadOnly = true;
    port.AddFile(kDir + "ro.txt", readOnly);
    port.QueueAnswers({kIdNo, kIdNo});

    sweeper.PurgeCookies();
    sweeper.PurgeCookies();

    EXPECT_TRUE(port.Exists(kDir + "ro.txt"));
    EXPECT_EQ(port.Questions().size(), 2u);
    EXPECT_EQ(port.m_nClearCalls, 0);
}

TEST_F(CookiePurge, YesDoesNothingToALockedFileOrAFolderThatIsNotReadOnly) {
    CFakeSweepPort::Entry locked;
    locked.bLocked = true;
    port.AddFile(kDir + "locked.txt", locked);
    port.AddFolder(kDir + "x.txt\\");
    // Attributes that cannot be read say nothing of read-only.
    locked.bNoAttributes = true;
    port.AddFile(kDir + "y.txt", locked);
    port.QueueAnswers({kIdYes, kIdYes, kIdYes});

    sweeper.PurgeCookies();

    EXPECT_TRUE(port.Exists(kDir + "locked.txt"));
    EXPECT_TRUE(port.Exists(kDir + "x.txt\\"));
    ASSERT_EQ(port.Questions().size(), 3u);
    EXPECT_EQ(port.Questions()[0].strText, std::string(kQuestion) + "locked.txt");
    EXPECT_EQ(port.Questions()[1].strText, std::string(kQuestion) + "x.txt");
    EXPECT_EQ(port.m_nClearCalls, 0);
}

TEST_F(CookiePurge, AFailedAttributeChangeLeavesTheFile) {
    CFakeSweepPort::Entry stubborn;
    stubborn.bReadOnly = true;
    stubborn.bClearFails = true;
    port.AddFile(kDir + "s.txt", stubborn);
    port.QueueAnswers({kIdYes});

    sweeper.PurgeCookies();

    EXPECT_TRUE(port.Exists(kDir + "s.txt"));
    EXPECT_EQ(port.m_nClearCalls, 1);
}

TEST_F(CookiePurge, AnEntryThatVanishedSinceTheListingCountsAsDone) {
    CFakeSweepPort::Entry vanishing;
    vanishing.bVanishes = true;
    port.AddFile(kDir + "gone.txt", vanishing);
    port.AddFile(kDir + "next.txt");

    sweeper.PurgeCookies();

    EXPECT_TRUE(port.Questions().empty());
    EXPECT_TRUE(port.Listing(kDir).empty());
}

TEST_F(CookiePurge, LowSubfolderOnlyInFolderAndLowMode) {
    port.AddFolder(kDir + "Low\\");
    port.AddFile(kDir + "Low\\low.txt");
    port.AddFile(kDir + "top.txt");

    sweeper.PurgeCookies();
    EXPECT_TRUE(port.Exists(kDir + "Low\\low.txt"));
    EXPECT_FALSE(port.Exists(kDir + "top.txt"));

    sweeper.m_nSweepMode = SWEEP_FOLDER_AND_LOW;
    sweeper.PurgeCookies();
    EXPECT_FALSE(port.Exists(kDir + "Low\\low.txt"));
    EXPECT_EQ(port.m_listedPatterns.back(), "C:\\Cookies\\Low\\*.*");
}

// The protected mode's folder is written at low integrity: a link made of it, to any folder of
// the user's, is passed over as silently as a missing one, and so is everything behind it.
TEST_F(CookiePurge, AMissingLowSubfolderOrOneThatIsALinkIsSilent) {
    sweeper.m_nSweepMode = SWEEP_FOLDER_AND_LOW;
    port.AddFile(kDir + "top.txt");
    sweeper.PurgeCookies();
    EXPECT_FALSE(port.Exists(kDir + "top.txt"));

    CFakeSweepPort::Entry link;
    link.bDirectory = link.bLink = true;
    port.AddFile(kDir + "Low\\", link);
    port.AddFile(kDir + "Low\\diary.txt");
    port.AddFile(kDir + "top.txt");
    sweeper.PurgeCookies();
    EXPECT_FALSE(port.Exists(kDir + "top.txt"));
    EXPECT_TRUE(port.Exists(kDir + "Low\\diary.txt"));
    EXPECT_TRUE(port.Questions().empty());
    EXPECT_EQ(port.m_listedPatterns, std::vector<std::string>(2, kDir + "*.*"));
}

TEST_F(CookiePurge, AnEmptyFolderDeletesAndShowsNothing) {
    sweeper.PurgeCookies();
    EXPECT_TRUE(port.Questions().empty());
}

TEST_F(CookiePurge, AnEmptyCookieDirShowsItsMessageAndTouchesNoFolder) {
    // The working directory holds a cookie-looking file that must survive.
    port.AddFolder("");
    port.AddFile("work.txt");
    sweeper.m_strCookieDir.Empty();

    sweeper.PurgeCookies();

    ASSERT_EQ(port.Questions().size(), 1u);
    EXPECT_EQ(port.Questions()[0].strText, kNoFolder);
    EXPECT_EQ(port.Questions()[0].nType, kMbOk);
    EXPECT_TRUE(port.m_listedPatterns.empty());
    EXPECT_TRUE(port.Exists("work.txt"));
}
