// The box that keeps the favourites' cookies: ticked, a favourite's cookie file stays in both
// cookie folders while another site's goes, also after a restart; cleared, both go.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "res/resource.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

namespace {
class KeepFavouritesTest : public CWispfoldFixture {
protected:
    void TearDown() override {
        CWispfoldFixture::TearDown();
        CCookieFolder::RemoveTree(m_strFavourites, true);
    }
    // Seeds a cookie file of the favourite (kept.txt) and of another site (gone.txt) in both
    // folders, clicks はい and waits until the other site's are gone.
    void SeedAndPurge(bool bKept) {
        for (const std::string dir : {"", "Low\\"})
            for (const char* name : {"kept", "gone"})
                ASSERT_TRUE(m_cookies.AddFileWith(dir + name + ".txt",
                                                  std::string("id\nv=1\n") + name +
                                                      ".fav.example/\n1\n2\n3\n4\n5\n*\n"));
        ASSERT_TRUE(Dialog().Click(IDC_BTN_YES));
        ASSERT_TRUE(e2e::WaitUntil([&] { return Both(false, "gone.txt"); }, 10000));
        auto kept = [&] { return Both(bKept, "kept.txt"); };
        EXPECT_TRUE(bKept ? e2e::HoldsFor(kept, 3000) : e2e::WaitUntil(kept, 5000)) << bKept;
    }
    bool Both(bool bExist, const std::string& name) {
        return m_cookies.Exists(name) == bExist && m_cookies.Exists("Low\\" + name) == bExist;
    }
    HWND Box() { return Dialog().Item(IDC_CHK_KEEPFAVORITES); }
    std::string m_strFavourites;
};

TEST_F(KeepFavouritesTest, TickedKeepsTheFavouritesCookiesAfterARestartTooClearedDeletesThem) {
    char szPath[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_CREATE, nullptr, 0, szPath),
              S_OK);
    m_strFavourites = std::string(szPath) + "\\wispfold-e2e\\"; // subfolders are read too
    CreateDirectoryA(m_strFavourites.c_str(), nullptr);
    ASSERT_TRUE(m_cookies.AddFileWith(m_strFavourites + "サイト.url",
                                      "[InternetShortcut]\r\nURL=http://Kept.Fav.example/\r\n"));
    ASSERT_TRUE(m_cookies.AddDirectory("Low"));
    const CRegValue keep(e2e::kProfileSection, e2e::kKeepFavoriteDo);
    ASSERT_TRUE(LaunchVisible("vista"));
    EXPECT_EQ(SendMessageA(Box(), BM_GETCHECK, 0, 0), BST_UNCHECKED) << "ticked by default";
    ASSERT_TRUE(PostMessageA(Box(), BM_CLICK, 0, 0));
    ASSERT_TRUE(e2e::WaitUntil([&] { return keep.ReadDword() == 1u; }, 5000));
    SeedAndPurge(true);

    m_process.Terminate();
    ASSERT_TRUE(LaunchVisible("vista"));
    EXPECT_EQ(SendMessageA(Box(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SeedAndPurge(true);
    // Cleared while the watch runs: from its next pass on, every cookie file goes.
    ASSERT_TRUE(PostMessageA(Box(), BM_CLICK, 0, 0));
    ASSERT_TRUE(e2e::WaitUntil([&] { return keep.ReadDword() == 0u; }, 5000));
    SeedAndPurge(false);
}
} // namespace
