#include <gtest/gtest.h>

#include <random>

#include "sweep/cookie_sweeper.h"
#include "tests/unit/fake_sweep_port.h"

namespace {
const std::string kDir = "C:\\Cookies\\";

class BrowserWatch : public ::testing::Test {
protected:
    BrowserWatch() : sweeper(port) {
        g_bWatching = 0;
        sweeper.m_strCookieDir = kDir.c_str();
        sweeper.m_nSweepMode = SWEEP_FOLDER;
        port.AddFolder(kDir);
    }
    ~BrowserWatch() override {
        // The dialog's end: afterwards no worker may use the sweeper.
        sweeper.EndWatchForShutdown();
        EXPECT_FALSE(sweeper.IsLoopAlive());
        port.JoinThreads();
    }

    // Starts the watch, lets exactly the first pass run and stops it during its sleep.
    bool RunOnePass() {
        port.SetManualSleeps(true);
        sweeper.StartWatching();
        if (!port.WaitForSleepers(1))
            return false;
        sweeper.StopWatching();
        port.ReleaseSleep();
        return CFakeSweepPort::Eventually([&] { return !sweeper.IsLoopAlive(); });
    }

    CFakeSweepPort port;
    CCookieSweeper sweeper;
};

struct ScanCase {
    const char* pszName;
    std::vector<CFakeSweepPort::Window> windows;
    bool bPurges;
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.pszName;
}

class WindowScan : public BrowserWatch, public ::testing::WithParamInterface<ScanCase> {};

const ScanCase kScanCases[] = {
    {"NoWindows", {}, true},
    {"OnlyOwnDialog", {{false, 1, "Wispfold Ver1.06"}}, true},
    {"VisibleWindowsIE", {{false, 1, "Yahoo! - Windows Internet Explorer"}}, false},
    {"VisibleMicrosoftIE", {{false, 1, "about:blank - Microsoft Internet Explorer"}}, false},
    {"AnyLetterCase", {{false, 1, "x - microsoft INTERNET explorer"}}, false},
    {"HiddenBrowser", {{false, 0, "Windows Internet Explorer"}}, true},
    {"VisibleMustBeExactlyOne", {{false, 2, "Windows Internet Explorer"}}, true},
    {"OwnedBrowser", {{true, 1, "Windows Internet Explorer"}}, true},
    {"OtherBrowserName", {{false, 1, "Internet Explorer"}}, true},
    {"DoubleByteTitle", {{false, 1, "ツール - Windows Internet Explorer"}}, false},
    {"BrowserBehindOthers",
     {{false, 1, "メモ帳"},
      {true, 1, "Windows Internet Explorer"},
      {false, 1, "Microsoft Internet Explorer"}},
     false},
    // Tooltips, menus and input-method windows come and go above the browser all day.
    {"WindowsAboveTheBrowserGoAway",
     {{false, 1, "tip", true},
      {true, 1, "menu", true},
      {false, 1, "Blank Page - Windows Internet Explorer"}},
     false},
    {"TheBrowserItselfGoesAway", {{false, 1, "Windows Internet Explorer", true}}, true},
};
} // namespace

TEST_P(WindowScan, PurgesOnlyWhenNoVisibleUnownedBrowserWindowIsOpen) {
    port.m_windows = GetParam().windows;
    port.AddFile(kDir + "c.txt");

    ASSERT_TRUE(RunOnePass());

    EXPECT_EQ(port.m_nWalks, 1);
    EXPECT_EQ(!port.Exists(kDir + "c.txt"), GetParam().bPurges);
}

INSTANTIATE_TEST_SUITE_P(Titles, WindowScan, ::testing::ValuesIn(kScanCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(BrowserWatch, TheFirstBrowserWindowEndsTheWalk) {
    port.m_windows = {{false, 1, "Windows Internet Explorer"}, {false, 1, "a"}, {false, 1, "b"}};
    ASSERT_TRUE(RunOnePass());
    EXPECT_EQ(port.m_nWindowVisits, 1);

    port.m_windows = {{false, 1, "a"}, {false, 1, "b"}, {false, 1, "c"}};
    ASSERT_TRUE(RunOnePass());
    EXPECT_EQ(port.m_nWindowVisits, 4) << "a walk without a browser visits every window";
}

TEST_F(BrowserWatch, StartSetsTheFlagStartsTheWorkerSleepsASecondThenHides) {
    port.SetManualSleeps(true);
    sweeper.StartWatching();

    EXPECT_EQ(g_bWatching, 1);
    EXPECT_EQ(port.m_nThreadsStarted, 1);
    EXPECT_EQ(port.m_uiSleeps, std::vector<unsigned>{1000});
    EXPECT_EQ(port.m_nHides, 1);
    EXPECT_EQ(port.m_nThreadsAtHide, 1);
    EXPECT_EQ(port.m_nSleepsAtHide, 1u) << "hidden only after the second of waiting";
    EXPECT_EQ(port.m_nWalks, 0) << "the first pass waits for the poll sleep";
    ASSERT_TRUE(port.WaitForSleepers(1));
    EXPECT_EQ(port.m_uiPollSleep, 2000u) << "the watch polls every two seconds";
}

TEST_F(BrowserWatch, StopHidesAtOnceWithoutWaiting) {
    sweeper.StopWatching();
    EXPECT_EQ(g_bWatching, 0);
    EXPECT_EQ(port.m_nHides, 1);
    EXPECT_TRUE(port.m_uiSleeps.empty());
}

TEST_F(BrowserWatch, PurgesPassAfterPassWhileOnAndStopsAfterTheStop) {
    sweeper.StartWatching();
    ASSERT_TRUE(CFakeSweepPort::Eventually([&] { return port.m_nWalks >= 5; }));
    sweeper.StopWatching();
    ASSERT_TRUE(CFakeSweepPort::Eventually([&] { return !sweeper.IsLoopAlive(); }));
    const int nWalks = port.m_nWalks;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(port.m_nWalks, nWalks);
}

TEST_F(BrowserWatch, AStopDuringTheSleepStillLetsThatPassRunThenTheWorkerEnds) {
    port.AddFile(kDir + "late.txt");
    ASSERT_TRUE(RunOnePass());
    EXPECT_EQ(port.m_nWalks, 1);
    EXPECT_FALSE(port.Exists(kDir + "late.txt"));
}

TEST_F(BrowserWatch, ASecondStartWhileTheLoopLivesReusesIt) {
    port.SetManualSleeps(true);
    sweeper.StartWatching();
    ASSERT_TRUE(port.WaitForSleepers(1));
    sweeper.StartWatching();
    EXPECT_EQ(port.m_nThreadsStarted, 1);

    // A stop followed by a start within one sleep: the same loop goes on polling.
    sweeper.StopWatching();
    sweeper.StartWatching();
    port.ReleaseSleep();
    ASSERT_TRUE(CFakeSweepPort::Eventually([&] { return port.m_nWalks == 1; }));
    ASSERT_TRUE(port.WaitForSleepers(1));
    EXPECT_TRUE(sweeper.IsLoopAlive());
    EXPECT_EQ(port.m_nThreadsStarted, 1);
}

TEST_F(BrowserWatch, AStartAfterTheLoopEndedStartsANewWorker) {
    ASSERT_TRUE(RunOnePass());
    ASSERT_TRUE(RunOnePass());
    EXPECT_EQ(port.m_nThreadsStarted, 2);
    EXPECT_EQ(port.m_nWalks, 2);
}

TEST_F(BrowserWatch, RapidStartsAndStopsNeverRunTwoLoopsAtOnce) {
    port.m_bWorkDelay = true;
    std::mt19937 rng(7);
    for (int i = 0; i < 400; ++i) {
        if (rng() % 2)
            sweeper.StartWatching();
        else
            sweeper.StopWatching();
        if (rng() % 4 == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 500));
    }
    sweeper.StopWatching();
    ASSERT_TRUE(CFakeSweepPort::Eventually([&] { return !sweeper.IsLoopAlive(); }));
    EXPECT_EQ(port.m_nMaxWorkInFlight, 1);
    EXPECT_GT(port.m_nWalks, 0);
}

// Starts and stops from the user-interface thread race the worker's decision to end its loop.
// With the worker polling as fast as it can, a start often lands between its look at the flag
// and its release of the loop; whatever the interleaving, once a start has returned a loop is
// alive until the next stop, and it goes on purging.
TEST_F(BrowserWatch, AStartThatRacesTheLoopsEndIsNeverLost) {
    port.m_bBusyPolling = true;
    std::mt19937 rng(11);
    sweeper.StartWatching();
    int nLost = 0;
    for (int i = 0; i < 400000; ++i) {
        sweeper.StopWatching();
        if (rng() % 8 == 0)
            std::this_thread::yield();
        sweeper.StartWatching();
        if (!sweeper.IsLoopAlive())
            ++nLost;
    }
    EXPECT_EQ(nLost, 0) << "starts lost to a loop that was ending";
    const int nWalks = port.m_nWalks;
    EXPECT_TRUE(CFakeSweepPort::Eventually([&] {
        return sweeper.IsLoopAlive() && port.m_nWalks >= nWalks + 2;
    })) << "no loop polls after the last start";
    EXPECT_EQ(port.m_nMaxWorkInFlight, 1);
}

TEST_F(BrowserWatch, TheDialogsEndCutsTheSleepShortAndRunsNoPass) {
    port.SetManualSleeps(true);
    port.AddFile(kDir + "keep.txt");
    sweeper.StartWatching();
    ASSERT_TRUE(port.WaitForSleepers(1));

    sweeper.EndWatchForShutdown();

    EXPECT_FALSE(sweeper.IsLoopAlive());
    EXPECT_EQ(g_bWatching, 0);
    EXPECT_EQ(port.m_nWalks, 0);
    EXPECT_TRUE(port.Exists(kDir + "keep.txt"));
}

TEST_F(BrowserWatch, TheDialogsEndAnswersAnOpenQuestionNoAndDeletesNothingMore) {
    CFakeSweepPort::Entry locked;
    locked.bLocked = true;
    port.AddFile(kDir + "a-locked.txt", locked);
    port.AddFile(kDir + "b-later.txt");
    sweeper.StartWatching();
    ASSERT_TRUE(port.WaitForQuestions(1));

    sweeper.EndWatchForShutdown();

    EXPECT_FALSE(sweeper.IsLoopAlive());
    EXPECT_TRUE(port.Exists(kDir + "a-locked.txt"));
    EXPECT_TRUE(port.Exists(kDir + "b-later.txt"));
    EXPECT_EQ(port.Questions().size(), 1u);
}

TEST_F(BrowserWatch, AYesThatArrivesAfterTheDialogBeganToEndDeletesNothing) {
    CFakeSweepPort::Entry readOnly;
    readOnly.bReadOnly = true;
    port.AddFile(kDir + "ro.txt", readOnly);
    port.m_nAnswerOnWake = kIdYes;
    sweeper.StartWatching();
    ASSERT_TRUE(port.WaitForQuestions(1));

    sweeper.EndWatchForShutdown();

    EXPECT_FALSE(sweeper.IsLoopAlive());
    EXPECT_TRUE(port.Exists(kDir + "ro.txt"));
    EXPECT_EQ(port.m_nClearCalls, 0) << "the late Yes made the file normal";
}

TEST_F(BrowserWatch, AQuestionLeftOpenHoldsThePassesOfThatWorker) {
    CFakeSweepPort::Entry locked;
    locked.bLocked = true;
    port.AddFile(kDir + "locked.txt", locked);
    sweeper.StartWatching();
    ASSERT_TRUE(port.WaitForQuestions(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(port.m_nWalks, 1);
    port.Answer(kIdNo);
    ASSERT_TRUE(port.WaitForQuestions(2));
    EXPECT_GE(port.m_nWalks, 2);
}

// A worker inside a file-system call that takes longer than the dialog's end may wait (a profile
// on a server that went away, an antivirus filter) must never come back into a dialog that is
// gone: the process ends while the dialog still stands.
TEST(WatchEnd, AWorkerThatDoesNotComeBackInTimeEndsTheProcessBeforeTheDialogDies) {
    CFakeSweepPort port;
    auto pSweeper = std::make_unique<CCookieSweeper>(port);
    pSweeper->m_strCookieDir = kDir.c_str();
    pSweeper->m_nSweepMode = SWEEP_FOLDER;
    port.AddFolder(kDir);
    CFakeSweepPort::Entry slow;
    slow.bBlocks = true;
    port.AddFile(kDir + "a-slow.txt", slow);
    port.AddFile(kDir + "b.txt");
    pSweeper->StartWatching();
    ASSERT_TRUE(port.WaitForBlocked());

    pSweeper->EndWatchForShutdown();
    pSweeper.reset();
    port.ReleaseBlocked();

    EXPECT_TRUE(CFakeSweepPort::Eventually([&] { return port.m_nStranded == 1; }));
    EXPECT_TRUE(port.Exists(kDir + "b.txt"));
}
