// What one watch pass costs besides its 2 s sleep: a walk over the top-level windows and, when
// no browser is open, a purge of the cookie folder. The watch polls every 2000 ms, so a pass
// should stay far below a millisecond for realistic desktops and folders.
#include <benchmark/benchmark.h>

#include "classlib/cstring.h"
#include "sweep/cookie_sweeper.h"
#include "tests/unit/fake_sweep_port.h"

namespace {
const std::string kDir = "C:\\Cookies\\";

// A window walk over n ordinary windows (no browser: the whole list is visited).
void BM_WindowWalk(benchmark::State& state) {
    CFakeSweepPort port;
    for (int i = 0; i < state.range(0); ++i)
        port.m_windows.push_back(
            {i % 3 == 0, 1, "ドキュメント " + std::to_string(i) + " - メモ帳"});
    CCookieSweeper sweeper(port);
    sweeper.m_strCookieDir = kDir.c_str();
    sweeper.m_nSweepMode = SWEEP_FOLDER;
    // An empty cookie folder isolates the walk's cost inside a pass.
    port.AddFolder(kDir);
    for (auto _ : state) {
        port.EnumerateWindows([&](WindowRef w) {
            CString strTitle = port.Title(w);
            strTitle.MakeUpper();
            benchmark::DoNotOptimize(strTitle.Find("WINDOWS INTERNET EXPLORER"));
            return true;
        });
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WindowWalk)->Arg(50)->Arg(500);

// A purge pass over a folder of n entries that are all kept (index.dat and friends), which is
// what every pass after the first one finds.
void BM_PurgeKeptFolder(benchmark::State& state) {
    CFakeSweepPort port;
    port.AddFolder(kDir);
    for (int i = 0; i < state.range(0); ++i)
        port.AddFile(kDir + "entry" + std::to_string(i) + ".dat");
    CCookieSweeper sweeper(port);
    sweeper.m_strCookieDir = kDir.c_str();
    sweeper.m_nSweepMode = SWEEP_FOLDER;
    for (auto _ : state)
        sweeper.PurgeCookies();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PurgeKeptFolder)->Arg(100)->Arg(2000);

void BM_TitleUpperAndFind(benchmark::State& state) {
    const CString strTitle("Yahoo! JAPAN - ニュース・天気・スポーツ - Windows Internet Explorer");
    for (auto _ : state) {
        CString s = strTitle;
        s.MakeUpper();
        benchmark::DoNotOptimize(s.Find("MICROSOFT INTERNET EXPLORER"));
        benchmark::DoNotOptimize(s.Find("WINDOWS INTERNET EXPLORER"));
    }
}
BENCHMARK(BM_TitleUpperAndFind);

// The favourites' rule: reading 200 shortcuts once per pass, then judging one cookie file of a
// site that is no favourite (the file is read, its records parsed, each host compared).
void BM_FavouritesRule(benchmark::State& state) {
    CFakeSweepPort port;
    port.AddFolder("C:\\Favorites\\");
    for (int i = 0; i < 200; ++i) {
        CFakeSweepPort::Entry e;
        e.strContent =
            "[InternetShortcut]\r\nURL=http://www.favourite" + std::to_string(i) + ".example/\r\n";
        port.AddFile("C:\\Favorites\\site" + std::to_string(i) + ".url", e);
    }
    CFakeSweepPort::Entry cookie;
    cookie.strContent = "id\nv=1\nsite1.example/\n1536\n2916341376\n30563993\n3051651952\n"
                        "30477563\n*\n";
    port.AddFile(kDir + "cookie.txt", cookie);
    CFavouriteSites sites;
    const std::atomic<bool> bStop{false};
    sites.Load(port, bStop);
    for (auto _ : state) {
        if (state.range(0) == 0)
            sites.Load(port, bStop);
        else
            benchmark::DoNotOptimize(sites.KeepsCookieFile(port, (kDir + "cookie.txt").c_str()));
    }
    state.SetLabel(state.range(0) == 0 ? "read 200 favourites" : "judge one cookie file");
}
BENCHMARK(BM_FavouritesRule)->Arg(0)->Arg(1);
} // namespace

BENCHMARK_MAIN();
