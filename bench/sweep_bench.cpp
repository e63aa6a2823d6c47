// What one watch pass costs besides its 2 s sleep: a walk over the top-level windows and, when
// no browser is open, a purge of the cookie folder. The watch polls every 2000 ms, so a pass
// should stay far below a millisecond for realistic desktops and folders.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

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

// The favourites' rule in the state it is made for: n favourites (shortcuts with names of a
// page title's length) and k kept cookie files of their sites, all written well over FAT's 2 s
// before the first pass, so that pass's readings are trusted by the next.
void AddFavouritesAndKeptFiles(CFakeSweepPort& port, int64_t nFavourites, int64_t nKept) {
    port.AddFolder(kDir);
    port.AddFolder("C:\\Favorites\\");
    for (int64_t i = 0; i < nFavourites; ++i) {
        CFakeSweepPort::Entry e;
        e.strContent =
            "[InternetShortcut]\r\nURL=http://www.favourite" + std::to_string(i) + ".example/\r\n";
        port.AddFile("C:\\Favorites\\Favourite page " + std::to_string(i) + " - a site.url", e);
    }
    for (int64_t i = 0; i < nKept; ++i) {
        CFakeSweepPort::Entry e;
        e.strContent = "id\nv=1\nwww.favourite" + std::to_string(i) +
                       ".example/\n1536\n2916341376\n30563993\n3051651952\n30477563\n*\n";
        port.AddFile(kDir + "user@www.favourite" + std::to_string(i) + "[1].txt", e);
    }
    port.m_nNow += 10 * 10000000ULL;
}

void KeepFavourites(CCookieSweeper& sweeper) {
    sweeper.m_strCookieDir = kDir.c_str();
    sweeper.m_nSweepMode = SWEEP_FOLDER;
    sweeper.SetKeepFavourites(true);
}

// A watch pass with the rule on over n favourites and k kept files (range 0 and 1). Range 2:
// 0, a first pass, which reads every shortcut and cookie file; 1, a later pass over unchanged
// folders, which the change notifications say need no listing; 2, the same where the folders
// cannot be watched, so both are listed. Counters: files read per pass, readings remembered.
void BM_RulePass(benchmark::State& state) {
    CFakeSweepPort port;
    AddFavouritesAndKeptFiles(port, state.range(0), state.range(1));
    port.m_bUnwatchable = state.range(2) == 2;
    CCookieSweeper sweeper(port);
    KeepFavourites(sweeper);
    sweeper.PurgeCookies();
    const int nReadsBefore = port.m_nFileReads;
    for (auto _ : state) {
        if (state.range(2) == 0) {
            CCookieSweeper fresh(port);
            KeepFavourites(fresh);
            fresh.PurgeCookies();
        } else {
            sweeper.PurgeCookies();
        }
        port.m_listedPatterns.clear();
    }
    state.counters["reads"] =
        benchmark::Counter(port.m_nFileReads - nReadsBefore, benchmark::Counter::kAvgIterations);
    state.counters["remembered"] = static_cast<double>(sweeper.FavouriteSites().RememberedFiles());
    const char* labels[] = {"first pass", "later pass, folders watched", "later pass, listed"};
    state.SetLabel(labels[state.range(2)]);
}
BENCHMARK(BM_RulePass)
    ->ArgsProduct({{200}, {30}, {0, 1, 2}})
    ->ArgsProduct({{2000}, {300, 1000}, {0, 1, 2}});

// The heap the rule holds after the first pass over n favourites and k kept files: what it
// remembers of each file, its host list and its reusable buffers (glibc's bytes in use, chunk
// headers included, of this 64-bit build).
void BM_RuleMemory(benchmark::State& state) {
    CFakeSweepPort port;
    AddFavouritesAndKeptFiles(port, state.range(0), state.range(1));
    // The fake's own record of the listings grows in the first pass; only the rule's is wanted.
    CCookieSweeper warm(port);
    KeepFavourites(warm);
    warm.PurgeCookies();
    double nHeapBytes = 0;
    size_t nRemembered = 0;
    for (auto _ : state) {
        port.m_listedPatterns.clear();
        const size_t nBefore = mallinfo2().uordblks;
        auto sweeper = std::make_unique<CCookieSweeper>(port);
        KeepFavourites(*sweeper);
        sweeper->PurgeCookies();
        nHeapBytes = static_cast<double>(mallinfo2().uordblks - nBefore);
        nRemembered = sweeper->FavouriteSites().RememberedFiles();
    }
    state.counters["heap_bytes"] = nHeapBytes;
    state.counters["remembered"] = static_cast<double>(nRemembered);
    state.counters["bytes_per_file"] = nHeapBytes / static_cast<double>(nRemembered);
}
BENCHMARK(BM_RuleMemory)->Args({2000, 1000})->Iterations(3);
} // namespace

BENCHMARK_MAIN();
