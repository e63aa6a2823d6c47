// The box that keeps the cookies of the user's favourite sites: with it ticked a favourite's
// cookie file stays in both cookie folders while another goes, and the setting outlives the
// program; with it clear both go.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "res/resource.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::HoldsFor;
using e2e::WaitUntil;

namespace {

std::string Record(const std::string& hostPath) {
    return "id\nv=1\n" + hostPath + "\n1536\n2916341376\n30563993\n3051651952\n30477563\n*\n";
}

class KeepFavouritesTest : public CWispfoldFixture {
protected:
    void SetUp() override {
        CWispfoldFixture::SetUp();
        char szPath[MAX_PATH] = {};
        ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_DONT_VERIFY,
                                               nullptr, SHGFP_TYPE_CURRENT, szPath)));
        // A subfolder of our own: the rule reads the Favorites folder with its subfolders.
        m_strFavourites = std::string(szPath) + "\\wispfold-e2e\\";
        CCookieFolder::RemoveTree(m_strFavourites, true);
        ASSERT_EQ(SHCreateDirectoryExA(nullptr, m_strFavourites.c_str(), nullptr), ERROR_SUCCESS);
        ASSERT_TRUE(
            m_cookies.AddFileWith(m_strFavourites + "サイト.url",
                                  "[InternetShortcut]\r\nURL=http://Favourite.example/\r\n"));
        ASSERT_TRUE(m_cookies.AddDirectory("Low"));
        for (const std::string folder : {"", "Low\\"}) {
            ASSERT_TRUE(
                m_cookies.AddFileWith(folder + "kept.txt", Record("www.favourite.example/")));
            ASSERT_TRUE(m_cookies.AddFileWith(folder + "gone.txt", Record("other.example/")));
        }
    }
    void TearDown() override {
        CWispfoldFixture::TearDown();
        CCookieFolder::RemoveTree(m_strFavourites, true);
    }

    HWND Box() { return Dialog().Item(IDC_CHK_KEEPFAVORITES); }
    bool Seen(bool bPresent, const char* pszName) {
        return m_cookies.Exists(pszName) == bPresent &&
               m_cookies.Exists(std::string("Low\\") + pszName) == bPresent;
    }
    // Starts the watch and waits until the other site's files are gone from both folders.
    ::testing::AssertionResult StartAndWaitForThePurge() {
        if (!Dialog().Click(IDC_BTN_YES))
            return ::testing::AssertionFailure() << "はい could not be clicked";
        if (!WaitUntil([&] { return Seen(false, "gone.txt"); }, 10000))
            return ::testing::AssertionFailure() << "the other site's cookie files stayed";
        return ::testing::AssertionSuccess();
    }

    std::string m_strFavourites;
    CRegValue m_keep{e2e::kProfileSection, e2e::kKeepFavoriteDo};
};

TEST_F(KeepFavouritesTest, TickedKeepsTheFavouritesCookiesAndOutlivesTheProgram) {
    ASSERT_TRUE(LaunchVisible("vista"));
    EXPECT_EQ(SendMessageA(Box(), BM_GETCHECK, 0, 0), BST_UNCHECKED) << "ticked before any click";
    ASSERT_TRUE(PostMessageA(Box(), BM_CLICK, 0, 0));
    ASSERT_TRUE(WaitUntil([&] { return m_keep.ReadDword() == 1u; }, 5000))
        << "the click did not store KeepFavoriteDo = 1";
    ASSERT_TRUE(StartAndWaitForThePurge());
    // A further pass, and the favourite's files are still there.
    EXPECT_TRUE(HoldsFor([&] { return Seen(true, "kept.txt"); }, 3000));

    m_process.Terminate();
    ASSERT_TRUE(m_cookies.AddFileWith("gone.txt", Record("other.example/")));
    ASSERT_TRUE(m_cookies.AddFileWith("Low\\gone.txt", Record("other.example/")));
    ASSERT_TRUE(LaunchVisible("vista"));
    EXPECT_EQ(SendMessageA(Box(), BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_TRUE(StartAndWaitForThePurge());
    EXPECT_TRUE(HoldsFor([&] { return Seen(true, "kept.txt"); }, 3000));
}

TEST_F(KeepFavouritesTest, ClearDeletesEveryCookieFile) {
    ASSERT_TRUE(LaunchVisible("vista"));
    ASSERT_TRUE(StartAndWaitForThePurge());
    EXPECT_TRUE(WaitUntil([&] { return Seen(false, "kept.txt"); }, 5000));
    EXPECT_FALSE(m_keep.Exists()) << "the rule was stored without a click";
}

} // namespace
