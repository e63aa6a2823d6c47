// The rule that keeps the cookie files of favourite sites: host matching, cookie records and
// shortcuts from tables, then the purge over an in-memory Favorites folder and cookie folders.
#include <gtest/gtest.h>

#include "sweep/cookie_sweeper.h"
#include "tests/unit/fake_sweep_port.h"

namespace {

std::string Record(const std::string& hostPath, const char* eol = "\n") {
    std::string r;
    for (const std::string& line :
         {std::string("id"), std::string("v=1"), hostPath, std::string("1536"),
          std::string("2916341376"), std::string("30563993"), std::string("3051651952"),
          std::string("30477563"), std::string("*")})
        r += line + eol;
    return r;
}

std::string Shortcut(const std::string& url) {
    return "[DEFAULT]\r\nBASEURL=http://base.example/\r\n[InternetShortcut]\r\nURL=" + url +
           "\r\nIconIndex=0\r\n";
}

TEST(FavouriteHosts, MatchAtLabelBoundariesWithoutCase) {
    const struct {
        const char* a;
        const char* b;
        bool bMatch;
    } cases[] = {
        {"example.co.jp", "example.co.jp", true},
        {"www.example.co.jp", "example.co.jp", true},
        {"example.co.jp", "a.b.example.co.jp", true},
        {"badexample.co.jp", "example.co.jp", false},
        {"example.co.jp", "xample.co.jp", false},
        {"WWW.Example.CO.JP", "www.example.co.jp", true},
        {".example.com", "www.example.com", true},
        {"example.com.", "example.com", true},
        {"example.com", "example.org", false},
        {"www.example.com", "com", false}, // a top-level name belongs to no single site
        {"localhost", "localhost", true},
        {"xn--wgv71a119e.jp", "www.xn--wgv71a119e.jp", true},
        {"日本.jp", "日本.jp", false}, // raw double-byte text is no host name
        {"\x83\x41.jp", "\x83\x61.jp", false},
        {"10.0.0.1", "10.0.0.1", true},
        {"1.10.0.0.1", "10.0.0.1", false},
        {"", "", false},
        {"a..b.com", "b.com", false},
        {"exa mple.com", "exa mple.com", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HostsMatch(c.a, c.b), c.bMatch) << c.a << " / " << c.b;
        EXPECT_EQ(HostsMatch(c.b, c.a), c.bMatch) << c.b << " / " << c.a;
    }
}

TEST(FavouriteHosts, CookieRecordsAreReadWholeOrNotAtAll) {
    const std::string one = Record("example.co.jp/");
    const struct {
        std::string content;
        std::vector<std::string_view> hosts; // empty: not a cookie file
    } cases[] = {
        {one, {"example.co.jp"}},
        {Record("a.example/path/", "\r\n") + Record("b.example/"), {"a.example", "b.example"}},
        {one.substr(0, one.size() - 1), {"example.co.jp"}}, // no line end after the last "*"
        {"", {}},
        {"\n\n", {}},
        {one.substr(0, one.size() - 2), {}}, // the "*" is missing
        {one + "id\nv\n", {}},               // a truncated second record
        {Record("no-slash.example"), {}},
        {Record("bad host/"), {}},
        {Record("/path"), {}},
        {one + "trailing text\n", {}},
        {std::string(1 << 20, 'x'), {}},
        {Record(std::string("exa\0mple.com/", 13)), {}},
    };
    std::vector<std::string_view> hosts;
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(ReadCookieHosts(cases[i].content, hosts), !cases[i].hosts.empty()) << i;
        if (!cases[i].hosts.empty()) {
            EXPECT_EQ(hosts, cases[i].hosts) << i;
        }
    }
    std::string numbers = one;
    numbers.replace(numbers.find("1536"), 4, "15x6");
    EXPECT_FALSE(ReadCookieHosts(numbers, hosts));
}

TEST(FavouriteHosts, ShortcutsGiveTheHostOfTheirWebAddress) {
    const struct {
        std::string content;
        const char* host;
    } cases[] = {
        {Shortcut("http://www.Example.co.jp/index.html"), "www.example.co.jp"},
        {Shortcut("HTTPS://user:pw@shop.example:8443/?q=1"), "shop.example"},
        {"[InternetShortcut]\nURL=http://lf.example", "lf.example"},
        {"\xEF\xBB\xBF[internetshortcut]\r\n url = http://bom.example/ \r\n", "bom.example"},
        {Shortcut("ftp://files.example/"), ""},
        {Shortcut("file:///C:/x.html"), ""},
        {Shortcut("javascript:alert(1)"), ""},
        {Shortcut("http://%77ww.example/"), ""},
        {Shortcut("http://[::1]/"), ""},
        {Shortcut("http://example.com:abc/"), ""},
        {"[DEFAULT]\r\nURL=http://other-section.example/\r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FavouriteHost(c.content), c.host) << c.content;
}

class KeepFavourites : public ::testing::Test {
protected:
    KeepFavourites() : sweeper(port) {
        sweeper.m_strCookieDir = kDir.c_str();
        sweeper.m_nSweepMode = SWEEP_FOLDER_AND_LOW;
        sweeper.SetKeepFavourites(true);
        port.AddFolder(kDir);
        port.AddFolder(kDir + "Low\\");
        port.AddFolder(kFav);
        port.AddFolder(kFav + "表\\"); // a folder name ending in the byte of a backslash
        AddText(kFav + "表\\site.url", Shortcut("https://www.favourite.example/"));
    }
    void AddText(const std::string& path, const std::string& content, bool bUnreadable = false) {
        CFakeSweepPort::Entry e;
        e.strContent = content;
        e.bUnreadable = bUnreadable;
        port.AddFile(path, e);
    }
    const std::string kDir = "C:\\Cookies\\";
    const std::string kFav = "C:\\Favorites\\";
    CFakeSweepPort port;
    CCookieSweeper sweeper;
};

TEST_F(KeepFavourites, KeepsOnlyWhatItCanProveInBothFolders) {
    for (const std::string& folder : {kDir, kDir + "Low\\"}) {
        AddText(folder + "kept.txt", Record("other.example/") + Record("favourite.example/"));
        AddText(folder + "other.txt", Record("notfavourite.example/"));
        AddText(folder + "unreadable.txt", Record("favourite.example/"), true);
        AddText(folder + "huge.txt", std::string(300 * 1024, '\n') + Record("favourite.example/"));
        AddText(folder + "broken.txt", Record("favourite.example/").substr(0, 20));
    }

    sweeper.PurgeCookies();
    EXPECT_EQ(port.Listing(kDir), (std::vector<std::string>{"Low", "kept.txt"}));
    EXPECT_EQ(port.Listing(kDir + "Low\\"), std::vector<std::string>{"kept.txt"});

    // Cleared, the next pass deletes it like any other.
    sweeper.SetKeepFavourites(false);
    sweeper.PurgeCookies();
    EXPECT_EQ(port.Listing(kDir), std::vector<std::string>{"Low"});
    EXPECT_TRUE(port.Listing(kDir + "Low\\").empty());
}

TEST_F(KeepFavourites, FavouritesAreReadOncePerPassWithinTheirBounds) {
    AddText(kFav + "unreadable.url", Shortcut("http://unreadable.example/"), true);
    AddText(kFav + "ftp.url", Shortcut("ftp://ftp.example/"));
    AddText(kFav + "notes.txt", Shortcut("http://not-a-shortcut.example/"));
    std::string deep = kFav;
    for (int i = 1; i <= CFavouriteSites::kMaxDepth + 1; ++i) {
        deep += "d" + std::to_string(i) + "\\";
        port.AddFolder(deep);
        AddText(deep + "s.url", Shortcut("http://depth" + std::to_string(i) + ".example/"));
    }
    for (int i = 0; i < CFavouriteSites::kMaxEntries; ++i)
        AddText(kFav + "zz\\" + std::to_string(i) + ".url", Shortcut("http://wide.example/"));
    port.AddFolder(kFav + "zz\\");

    CFavouriteSites sites;
    std::atomic<bool> bStop{false};
    sites.Load(port, bStop);
    // The wide folder uses up the entries before the folder 表 (listed last) is reached.
    std::vector<std::string> expected{"wide.example"};
    for (int i = 1; i <= CFavouriteSites::kMaxDepth; ++i)
        expected.push_back("depth" + std::to_string(i) + ".example");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sites.Hosts(), expected);
    EXPECT_LT(port.m_nFileReads, CFavouriteSites::kMaxEntries);

    // A pass that meets no cookie file reads nothing; with the rule off no pass reads anything.
    port.m_nFileReads = 0;
    sweeper.PurgeCookies();
    EXPECT_EQ(port.m_nFileReads, 0);
    sweeper.SetKeepFavourites(false);
    AddText(kDir + "a.txt", Record("favourite.example/"));
    sweeper.PurgeCookies();
    EXPECT_EQ(port.m_nFileReads, 0);
    EXPECT_FALSE(port.Exists(kDir + "a.txt"));
}

} // namespace
