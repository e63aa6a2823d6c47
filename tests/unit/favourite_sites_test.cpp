// The favourites' rule: its readers from tables, then a pass over in-memory folders.
#include <gtest/gtest.h>

#include <functional>

#include "sweep/cookie_sweeper.h"
#include "tests/unit/fake_sweep_port.h"

namespace {
std::string Record(const std::string& h, const std::string& n = "\n") {
    return "id" + n + "v" + n + h + n + "1" + n + "2" + n + "3" + n + "4" + n + "5" + n + "*" + n;
}
std::string Url(const std::string& url) {
    return "[DEFAULT]\r\nURL=http://base.example/\r\n[InternetShortcut]\r\nURL=" + url + "\r\n";
}

// A sweeper with the favourites' rule on, over the fake's cookie folder and Favorites.
struct CRuleOn {
    explicit CRuleOn(SweepMode mode = SWEEP_FOLDER) {
        sweeper.m_strCookieDir = "C:\\Cookies\\";
        sweeper.m_nSweepMode = mode;
        sweeper.SetKeepFavourites(true);
        for (const char* folder : {"C:\\Cookies\\", "C:\\Favorites\\", "C:\\Favorites\\sub\\"})
            port.AddFolder(folder);
    }
    // A file written at nWriteTime (0: the fake's present), or one that cannot be read.
    void Add(const std::string& path, const std::string& content, uint64_t nWriteTime = 0,
             bool bUnreadable = false) {
        CFakeSweepPort::Entry e;
        e.strContent = content;
        e.nWriteTime = nWriteTime;
        e.bUnreadable = bUnreadable;
        port.AddFile(path, e);
    }
    CFakeSweepPort port;
    CCookieSweeper sweeper{port};
};

// clang-format off
TEST(FavouriteRule, HostsRecordsAndShortcutsAreReadStrictly) {
    const struct { const char *a, *b; bool bMatch; } hosts[] = {
        {"example.co.jp", "example.co.jp", true}, {"www.example.co.jp", "example.co.jp", true},
        {"example.co.jp", "a.b.example.co.jp", true}, {"badexample.co.jp", "example.co.jp", false},
        {"WWW.Example.CO.JP", "www.example.co.jp", true}, {".example.com", "example.com.", true},
        {"example.com", "example.org", false}, {"www.example.com", "com", false}, {"", "", false},
        {"localhost", "localhost", true}, {"10.0.0.1", "10.0.0.1", true}, {"日本.jp", "日本.jp", false},
        {"xn--wgv71a119e.jp", "a.xn--wgv71a119e.jp", true}, {"\x83\x41.jp", "\x83\x61.jp", false},
        {"1.2.3.4", "2.3.4", false}, {"a..b.com", "b.com", false}, {"a b.com", "a b.com", false}};
    for (const auto& c : hosts)
        EXPECT_EQ(HostsMatch(c.a, c.b) + HostsMatch(c.b, c.a), 2 * c.bMatch) << c.a << " " << c.b;

    const std::string one = Record("example.co.jp/");
    const struct { std::string content; std::vector<std::string_view> hosts; } records[] = {
        {one, {"example.co.jp"}}, {one.substr(0, one.size() - 1), {"example.co.jp"}},
        {Record("a.example/p/", "\r\n") + Record("b.example/"), {"a.example", "b.example"}},
        {"", {}}, {"\n\n", {}}, {one.substr(0, one.size() - 2), {}}, {one + "id\nv\n", {}},
        {one + "text\n", {}}, {one.substr(0, one.size() - 2) + "-\n", {}},
        {Record("no-slash.example"), {}}, {Record("bad host/"), {}},
        {Record("/path"), {}}, {Record(std::string("a\0b.com/", 8)), {}},
        {std::string(1 << 20, 'x'), {}}, {Record("a.example/").replace(16, 1, "x"), {}}};
    std::vector<std::string_view> got;
    for (const auto& c : records)
        EXPECT_EQ(ReadCookieHosts(c.content, got) ? got : decltype(got){}, c.hosts) << c.content;

    const struct { std::string content; const char* host; } shortcuts[] = {
        {Url("http://www.Example.co.jp/a.html"), "www.example.co.jp"},
        {Url("HTTPS://u:pw@shop.example:8443/?q"), "shop.example"},
        {"\xEF\xBB\xBF[internetshortcut]\n url = http://lf.example ", "lf.example"},
        {Url("ftp://f.example/"), ""}, {Url("file:///C:/x.html"), ""}, {Url("http://[::1]/"), ""},
        {Url("http://%77ww.example/"), ""}, {"[DEFAULT]\nURL=http://b.example/", ""}};
    for (const auto& c : shortcuts)
        EXPECT_EQ(FavouriteHost(c.content), c.host) << c.content;
}
// clang-format on

TEST(FavouriteRule, APassKeepsOnlyWhatItCanProveAndReadsTheFavouritesWithinBounds) {
    CRuleOn rule(SWEEP_FOLDER_AND_LOW);
    CFakeSweepPort& port = rule.port;
    CCookieSweeper& sweeper = rule.sweeper;
    const auto add = [&](const std::string& path, const std::string& content,
                         bool bUnreadable = false) { rule.Add(path, content, 0, bUnreadable); };
    std::string deep = "C:\\Favorites\\"; // 表 ends in the byte of a backslash
    for (int i = 0; i <= CFavouriteSites::kMaxDepth + 1; ++i, deep += "表\\") {
        port.AddFolder(deep);
        add(deep + "s.url", Url("http://d" + std::to_string(i) + ".example"));
    }
    add("C:\\Favorites\\x.url", std::string(65 << 10, ' ') + Url("http://x.example"));
    CFakeSweepPort::Entry link; // a junction, which could lead anywhere, is not entered
    link.bDirectory = link.bLink = true;
    port.AddFile("C:\\Favorites\\link\\", link);
    add("C:\\Favorites\\link\\s.url", Url("http://link.example"));
    // Listed after 表: the entries run out before the last shortcut there.
    for (int i = 0; i < CFavouriteSites::kMaxEntries; ++i)
        add("C:\\Favorites\\本\\" + std::to_string(i) + ".url", Url("ftp://f"));
    add("C:\\Favorites\\本\\~.url", Url("http://wide.example/"));
    port.AddFolder("C:\\Favorites\\本\\");
    const std::string dirs[] = {"C:\\Cookies\\", "C:\\Cookies\\Low\\"};
    for (const std::string& dir : dirs)
        port.AddFolder(dir);
    sweeper.PurgeCookies(); // no cookie file: nothing is read
    EXPECT_EQ(port.m_nFileReads, 0);

    for (const std::string& dir : dirs) {
        add(dir + "kept.txt", Record("a.example/") + Record("www.d8.example/"));
        for (const std::string host : {"d9", "wide", "x", "link"})
            add(dir + host + ".txt", Record(host + ".example/"));
        add(dir + "locked.txt", Record("d1.example/"), true);
        add(dir + "huge.txt", std::string(300 << 10, '\n') + Record("d1.example/"));
    }
    sweeper.PurgeCookies();
    EXPECT_EQ(port.Listing(dirs[0]), (std::vector<std::string>{"Low", "kept.txt"}));
    EXPECT_EQ(port.Listing(dirs[1]), std::vector<std::string>{"kept.txt"});

    sweeper.SetKeepFavourites(false); // from the next pass on, deleted unread
    const int nReads = port.m_nFileReads;
    sweeper.PurgeCookies();
    EXPECT_TRUE(port.Listing(dirs[1]).empty() && port.m_nFileReads == nReads);
}

// Favourites that are there but cannot be read (a folder on a server that is offline, one the
// user may not list, a shortcut that cannot be opened) leave the rule unable to judge: that pass
// keeps every cookie file, and the next one tries again. A Favorites folder that is not there
// holds no favourites.
TEST(FavouriteRule, WhatCannotBeReadKeepsThePassFromDeleting) {
    const struct {
        const char* pszPath;
        bool bFolder, bKept;
    } cases[] = {{"C:\\Favorites\\", true, true},
                 {"C:\\Favorites\\sub\\", true, true},
                 {"C:\\Favorites\\sub\\x.url", false, true},
                 {"C:\\Elsewhere\\", true, false}};
    for (const auto& c : cases) {
        CRuleOn rule;
        CFakeSweepPort& port = rule.port;
        rule.Add("C:\\Favorites\\sub\\x.url", Url("http://x.example"));
        port.AddFile(c.pszPath, {.bDirectory = c.bFolder, .bUnreadable = true, .strContent = ""});
        rule.Add("C:\\Cookies\\a.txt", Record("a.example/"));
        rule.sweeper.PurgeCookies();
        EXPECT_EQ(port.Exists("C:\\Cookies\\a.txt"), c.bKept) << c.pszPath;
        port.AddFile(c.pszPath, {.bDirectory = c.bFolder, .strContent = Url("http://y.example")});
        rule.sweeper.PurgeCookies();
        EXPECT_FALSE(port.Exists("C:\\Cookies\\a.txt")) << c.pszPath << ": not tried again";
    }
}
} // namespace

// Between two passes the user, the shell or the browser changes something. The second pass of a
// sweeper that remembers leaves what a fresh sweeper, which reads everything, leaves; and it
// reads only what changed, or what it read too soon after its last write to trust (FAT keeps
// last writes to 2 s).
TEST(FavouriteRule, APassReadsOnlyWhatChangedAndJudgesAsAFreshOne) {
    constexpr uint64_t kSecond = 10000000;
    using Port = CFakeSweepPort;
    const uint64_t t0 = Port().m_nNow;
    const std::string a = "C:\\Favorites\\a.url", b = "C:\\Favorites\\sub\\b.url",
                      ka = "C:\\Cookies\\ka.txt";
    const struct {
        const char* pszName;
        std::function<void(CRuleOn&)> change;
        int nFirstPassAfter, nReads, nRemembered;
        bool bBrowserSeen;
    } cases[] = {
        {"nothing", [](CRuleOn&) {}, 10, 0, 4, false},
        {"no watch", [](CRuleOn& p) { p.port.m_bUnwatchable = true; }, 10, 0, 4, false},
        {"favourite and cookie added",
         [&](CRuleOn& p) {
             p.Add("C:\\Favorites\\c.url", Url("http://c.example/"));
             p.Add("C:\\Cookies\\kc.txt", Record("c.example/"));
         },
         10, 2, 6, false},
        {"favourite removed", [&](CRuleOn& p) { p.port.EraseFile(b.c_str()); }, 10, 0, 2, false},
        {"favourite renamed",
         [&](CRuleOn& p) {
             p.port.EraseFile(a.c_str());
             p.Add("C:\\Favorites\\a2.url", Url("http://a.example/"), t0);
         },
         10, 1, 4, false},
        {"favourite edited", [&](CRuleOn& p) { p.Add(b, Url("http://d.example/")); }, 10, 1, 3,
         false},
        {"kept cookie rewritten", [&](CRuleOn& p) { p.Add(ka, Record("z.example/")); }, 10, 1, 3,
         false},
        {"both rewritten within the stamp's step",
         [&](CRuleOn& p) {
             p.Add(b, Url("http://d.example/"), t0);
             p.Add(ka, Record("z.example/"), t0);
         },
         1, 4, 2, false},
        {"cookie rewritten in place while the browser was open",
         [&](CRuleOn& p) { p.Add(ka, Record("z.example/"), t0); }, 10, 2, 3, true},
        {"cookie gone", [](CRuleOn& p) { p.port.EraseFile("C:\\Cookies\\kb.txt"); }, 10, 0, 3,
         false},
    };
    for (const auto& c : cases) {
        CRuleOn remembering, fresh;
        for (CRuleOn* p : {&remembering, &fresh}) {
            p->Add(a, Url("http://a.example/"));
            p->Add(b, Url("http://b.example/"));
            p->Add(ka, Record("a.example/"));
            p->Add("C:\\Cookies\\kb.txt", Record("b.example/"));
            p->port.m_nNow += c.nFirstPassAfter * kSecond;
        }
        CCookieSweeper& sweeper = remembering.sweeper;
        sweeper.PurgeCookies();
        c.change(remembering);
        c.change(fresh);
        if (c.bBrowserSeen) {
            Port& port = remembering.port;
            port.m_windows = {{false, 1, "Windows Internet Explorer"}};
            port.SetManualSleeps(true);
            sweeper.StartWatching();
            ASSERT_TRUE(port.WaitForSleepers(1));
            sweeper.StopWatching();
            port.ReleaseSleep();
            ASSERT_TRUE(Port::Eventually([&] { return !sweeper.IsLoopAlive(); }));
        }
        const int nReads = remembering.port.m_nFileReads;
        sweeper.PurgeCookies();
        fresh.sweeper.PurgeCookies();
        EXPECT_EQ(remembering.port.Listing("C:\\Cookies\\"), fresh.port.Listing("C:\\Cookies\\"))
            << c.pszName;
        EXPECT_EQ(remembering.port.m_nFileReads - nReads, c.nReads) << c.pszName;
        EXPECT_EQ(sweeper.FavouriteSites().RememberedFiles(), c.nRemembered) << c.pszName;
    }
}
