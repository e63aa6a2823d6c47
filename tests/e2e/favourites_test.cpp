// The box that keeps the favourites' cookies: ticked, a favourite's cookie file stays in both
// cookie folders while another site's goes, also after a restart; clear, both go.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "res/resource.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

namespace {
std::string Record(const std::string& host) {
    return "id\nv=1\n" + host + "/\n1536\n2916341376\n30563993\n3051651952\n30477563\n*\n";
}

class KeepFavouritesTest : public CWispfoldFixture {
protected:
    void SetUp() override {
        CWispfoldFixture::SetUp();
        char szPath[MAX_PATH] = {};
        ASSERT_EQ(
            SHGetFolderPathA(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_CREATE, nullptr, 0, szPath),
            S_OK);
        m_strFavourites = std::string(szPath) + "\\wispfold-e2e\\"; // a subfolder is read too
        CreateDirectoryA(m_strFavourites.c_str(), nullptr);
        ASSERT_TRUE(m_cookies.AddFileWith(m_strFavourites + "サイト.url",
                                          "[InternetShortcut]\r\nURL=http://Fav.example/\r\n"));
        ASSERT_TRUE(m_cookies.AddDirectory("Low"));
        ASSERT_TRUE(SeedCookies(true));
    }
    void TearDown() override {
        CWispfoldFixture::TearDown();
        CCookieFolder::RemoveTree(m_strFavourites, true);
    }
    bool SeedCookies(bool bFavourite) {
        bool bOk = true;
        for (const std::string folder : {"", "Low\\"})
            bOk = bOk && m_cookies.AddFileWith(folder + "gone.txt", Record("other.example")) &&
                  (!bFavourite ||
                   m_cookies.AddFileWith(folder + "kept.txt", Record("a.fav.example")));
        return bOk;
    }
    bool Both(bool bExist, const std::string& name) {
        return m_cookies.Exists(name) == bExist && m_cookies.Exists("Low\\" + name) == bExist;
    }
    // はい, then the other site's files gone from both folders and, a pass later, kept.txt as
    // given.
    void ExpectPurgeKeeping(bool bKept) {
        ASSERT_TRUE(Dialog().Click(IDC_BTN_YES));
        ASSERT_TRUE(e2e::WaitUntil([&] { return Both(false, "gone.txt"); }, 10000));
        auto kept = [&] { return Both(bKept, "kept.txt"); };
        EXPECT_TRUE(bKept ? e2e::HoldsFor(kept, 3000) : e2e::WaitUntil(kept, 5000)) << bKept;
    }
    LRESULT BoxState() {
        return SendMessageA(Dialog().Item(IDC_CHK_KEEPFAVORITES), BM_GETCHECK, 0, 0);
    }
    std::string m_strFavourites;
};

TEST_F(KeepFavouritesTest, TickedKeepsTheFavouritesCookiesAlsoAfterARestart) {
    const CRegValue keep(e2e::kProfileSection, e2e::kKeepFavoriteDo);
    ASSERT_TRUE(LaunchVisible("vista"));
    EXPECT_EQ(BoxState(), BST_UNCHECKED);
    ASSERT_TRUE(PostMessageA(Dialog().Item(IDC_CHK_KEEPFAVORITES), BM_CLICK, 0, 0));
    ASSERT_TRUE(e2e::WaitUntil([&] { return keep.ReadDword() == 1u; }, 5000));
    ExpectPurgeKeeping(true);

    m_process.Terminate();
    ASSERT_TRUE(SeedCookies(false));
    ASSERT_TRUE(LaunchVisible("vista"));
    EXPECT_EQ(BoxState(), BST_CHECKED);
    ExpectPurgeKeeping(true);
}

TEST_F(KeepFavouritesTest, ClearDeletesEveryCookieFile) {
    ASSERT_TRUE(LaunchVisible("vista"));
    ExpectPurgeKeeping(false);
}
} // namespace
