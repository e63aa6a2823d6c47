// The box that keeps the favourites' cookies, ticked, after a restart, and cleared.
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
        DeleteFileA(m_strFavourite.c_str());
    }
    // kept.txt (the favourite's) and gone.txt (a sibling site's) in both folders, then はい.
    void SeedAndPurge(bool bKept) {
        for (const std::string name : {"kept", "gone", "Low\\kept", "Low\\gone"})
            ASSERT_TRUE(
                m_cookies.AddFileWith(name + ".txt", "id\nv=1\n" + name.substr(name.size() - 4) +
                                                         ".fav.example/\n1\n2\n3\n4\n5\n*\n"));
        ASSERT_TRUE(Dialog().Click(IDC_BTN_YES));
        auto both = [&](const char* n, bool b) {
            return m_cookies.Exists(n) == b && m_cookies.Exists(std::string("Low\\") + n) == b;
        };
        ASSERT_TRUE(e2e::WaitUntil([&] { return both("gone.txt", false); }, 20000));
        auto kept = [&] { return both("kept.txt", bKept); };
        EXPECT_TRUE(bKept ? e2e::HoldsFor(kept, 3000) : e2e::WaitUntil(kept, 5000)) << bKept;
    }
    void Click(DWORD dwStored) {
        ASSERT_TRUE(PostMessageA(Dialog().Item(IDC_CHK_KEEPFAVORITES), BM_CLICK, 0, 0));
        EXPECT_TRUE(e2e::WaitUntil([&] { return m_keep.ReadDword() == dwStored; }, 5000));
    }
    std::string m_strFavourite;
    const CRegValue m_keep{e2e::kProfileSection, e2e::kKeepFavoriteDo};
};

TEST_F(KeepFavouritesTest, TickedKeepsTheFavouritesCookiesAfterARestartTooClearedDeletesThem) {
    char szPath[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_CREATE, nullptr, 0, szPath),
              S_OK);
    m_strFavourite = std::string(szPath) + "\\wispfold-e2e サイト.url";
    ASSERT_TRUE(m_cookies.AddFileWith(m_strFavourite,
                                      "[InternetShortcut]\r\nURL=http://Kept.Fav.example/\r\n"));
    ASSERT_TRUE(m_cookies.AddDirectory("Low"));
    ASSERT_TRUE(LaunchVisible("vista"));
    Click(1); // off by default: the click ticks the box
    SeedAndPurge(true);
    m_process.Terminate();
    ASSERT_TRUE(LaunchVisible("vista"));
    SeedAndPurge(true);
    Click(0); // cleared while the watch runs: from its next pass on, every cookie file goes
    SeedAndPurge(false);
}
} // namespace
