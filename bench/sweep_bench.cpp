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
        for (WindowRef w = port.FirstWindow(); w != 0; w = port.NextWindow(w)) {
            CString strTitle = port.Title(w);
            strTitle.MakeUpper();
            benchmark::DoNotOptimize(strTitle.Find("WINDOWS INTERNET EXPLORER"));
        }
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
} // namespace

BENCHMARK_MAIN();
