// Switching the watch on and off from the main dialog, and what the watch then does to the
// cookie folder with and without browser windows on the desktop.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::HoldsFor;
using e2e::NowMs;
using e2e::WaitUntil;

namespace {

// The window hides one second after "はい" or Enter; the first purge comes two seconds after
// the start. The windows are generous: the test catches "never", "at once" and "much later".
constexpr long long kHideAfterStartMinMs = 700;
constexpr long long kHideAfterStartMaxMs = 3000;
constexpr long long kFirstPurgeMinMs = 1500;
constexpr DWORD kFirstPurgeTimeoutMs = 8000;
// Longer than the time from the window's hiding to the first pass.
constexpr DWORD kBeyondAPassMs = 3000;

class WatchTest : public CWispfoldFixture {
protected:
    // Starts the watch with `start` (a click or a key), then checks when the window hid and
    // when the cookie file `probe` went.
    void ExpectStartHidesThenPurges(const std::function<void()>& start, const std::string& probe) {
        const ULONGLONG t0 = NowMs();
        start();
        const long long hiddenAfter = WaitHidden(t0, kHideAfterStartMaxMs + 2000);
        EXPECT_GE(hiddenAfter, kHideAfterStartMinMs) << "hidden too early (or never: -1)";
        EXPECT_LE(hiddenAfter, kHideAfterStartMaxMs);
        ASSERT_TRUE(WaitUntil([&] { return !m_cookies.Exists(probe); }, kFirstPurgeTimeoutMs))
            << probe << " still there " << kFirstPurgeTimeoutMs << " ms after the start";
        const long long purgedAfter = static_cast<long long>(NowMs() - t0);
        EXPECT_GE(purgedAfter, kFirstPurgeMinMs)
            << "the first purge did not wait for the poll period";
        RecordProperty("hidden_after_ms", std::to_string(hiddenAfter));
        RecordProperty("purged_after_ms", std::to_string(purgedAfter));
    }
};

TEST_F(WatchTest, YesHidesThenPurgesOnlyTxtNames) {
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    ASSERT_TRUE(m_cookies.AddFile("b.dat"));
    ASSERT_TRUE(m_cookies.AddFile("c.ini"));
    ASSERT_TRUE(m_cookies.AddFile("D.TXT"));
    ASSERT_TRUE(m_cookies.AddFile("e.txt.bak"));
    // Code page 932 names; "表" ends in the byte 0x5C, a backslash when read byte by byte.
    ASSERT_TRUE(m_cookies.AddFile("表示クッキー.txt"));
    ASSERT_TRUE(m_cookies.AddFile("表示クッキー.dat"));
    ASSERT_TRUE(m_cookies.AddDirectory("Low"));
    ASSERT_TRUE(m_cookies.AddFile("Low\\l.txt"));
    ASSERT_TRUE(LaunchVisible("winxp"));

    ExpectStartHidesThenPurges([&] { Dialog().Click(IDC_BTN_YES); }, "a.txt");
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("表示クッキー.txt"); }, 3000));
    // Only the seeded names are judged: the platform keeps files of its own there (index.dat).
    for (const char* kept : {"D.TXT", "b.dat", "c.ini", "表示クッキー.dat", "Low\\l.txt"})
        EXPECT_TRUE(m_cookies.Exists(kept)) << kept << " was deleted";
    for (const char* gone : {"a.txt", "e.txt.bak", "表示クッキー.txt"})
        EXPECT_FALSE(m_cookies.Exists(gone)) << gone << " was kept";
    // Windows XP has no "Low" folder of its own: it is left alone.
    EXPECT_TRUE(m_process.IsRunning());
}

TEST_F(WatchTest, YesOnVistaAlsoPurgesTheLowFolder) {
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    ASSERT_TRUE(m_cookies.AddDirectory("Low"));
    ASSERT_TRUE(m_cookies.AddFile("Low\\l.txt"));
    ASSERT_TRUE(m_cookies.AddFile("Low\\keep.dat"));
    ASSERT_TRUE(LaunchVisible("vista"));

    ExpectStartHidesThenPurges([&] { Dialog().Click(IDC_BTN_YES); }, "a.txt");
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("Low\\l.txt"); }, 3000));
    EXPECT_EQ(m_cookies.List("Low"), (std::vector<std::string>{"keep.dat"}));
}

TEST_F(WatchTest, EnterDoesWhatYesDoes) {
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    ASSERT_TRUE(LaunchVisible("winxp"));

    ExpectStartHidesThenPurges([&] { ASSERT_TRUE(Dialog().PressKey(VK_RETURN)); }, "a.txt");
    EXPECT_TRUE(m_process.IsRunning()) << "Enter must not end the dialog";
}

TEST_F(WatchTest, EnterTypedOnTheKeyboardDoesWhatYesDoes) {
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    ASSERT_TRUE(LaunchVisible("winxp"));

    ExpectStartHidesThenPurges([&] { ASSERT_TRUE(Dialog().TypeKey(VK_RETURN)); }, "a.txt");
    EXPECT_TRUE(m_process.IsRunning()) << "Enter must not end the dialog";
}

TEST_F(WatchTest, NoHidesAtOnceAndStartsNothing) {
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    ASSERT_TRUE(LaunchVisible("winxp"));

    const ULONGLONG t0 = NowMs();
    Dialog().Click(IDC_BTN_NO);
    const long long hiddenAfter = WaitHidden(t0, 3000);
    EXPECT_GE(hiddenAfter, 0) << "never hidden";
    EXPECT_LT(hiddenAfter, kHideAfterStartMinMs) << "いいえ hides without the start's wait";
    RecordProperty("hidden_after_ms", std::to_string(hiddenAfter));
    EXPECT_TRUE(HoldsFor([&] { return m_cookies.Exists("a.txt"); }, kBeyondAPassMs))
        << "a purge without a watch";
    EXPECT_TRUE(m_process.IsRunning());
}

TEST_F(WatchTest, NoStopsARunningWatchAfterAtMostOneMorePass) {
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    ASSERT_TRUE(LaunchVisible("winxp"));
    ExpectStartHidesThenPurges([&] { Dialog().Click(IDC_BTN_YES); }, "a.txt");

    Dialog().Click(IDC_BTN_NO);
    // A pass that already began its sleep may still purge once: give it its period.
    ASSERT_TRUE(m_cookies.AddFile("last.txt"));
    WaitUntil([&] { return !m_cookies.Exists("last.txt"); }, 2500);
    ASSERT_TRUE(m_cookies.AddFile("after.txt"));
    EXPECT_TRUE(HoldsFor([&] { return m_cookies.Exists("after.txt"); }, 3500))
        << "the watch went on after いいえ";
    EXPECT_FALSE(Dialog().IsVisible());
}

TEST_F(WatchTest, YesAgainAfterNoRestartsTheWatch) {
    ASSERT_TRUE(LaunchVisible("winxp"));
    Dialog().Click(IDC_BTN_YES);
    ASSERT_GE(WaitHidden(NowMs(), 5000), 0);
    Dialog().Click(IDC_BTN_NO);
    // "はい" again while the first worker may still be in its last sleep.
    Dialog().Click(IDC_BTN_YES);
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("a.txt"); }, kFirstPurgeTimeoutMs));
    ASSERT_TRUE(m_cookies.AddFile("b.txt"));
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("b.txt"); }, kFirstPurgeTimeoutMs))
        << "the restarted watch stopped after one pass";
}

struct BrowserCase {
    const char* name;
    const char* title;
    CBrowserWindows::Kind kind;
};

class BrowserWindowTest : public WatchTest, public ::testing::WithParamInterface<BrowserCase> {};

TEST_P(BrowserWindowTest, HoldsThePurgeWhileOpen) {
    const BrowserCase& c = GetParam();
    HWND hBrowser = m_pBrowsers->Create(c.title, c.kind);
    ASSERT_NE(hBrowser, nullptr);
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    ASSERT_TRUE(LaunchVisible("winxp"));
    Dialog().Click(IDC_BTN_YES);

    ASSERT_GE(WaitHidden(NowMs(), 5000), 0) << "the watch did not start";
    EXPECT_TRUE(HoldsFor([&] { return m_cookies.Exists("a.txt"); }, kBeyondAPassMs))
        << "purged while \"" << c.title << "\" was open";
    // The browser closes: the next pass purges.
    m_pBrowsers->Destroy(hBrowser);
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("a.txt"); }, kFirstPurgeTimeoutMs))
        << "no purge after the browser window went";
}

INSTANTIATE_TEST_SUITE_P(
    Watch, BrowserWindowTest,
    ::testing::Values(BrowserCase{"Visible", "Blank Page - Windows Internet Explorer",
                                  CBrowserWindows::Kind::Visible},
                      BrowserCase{"VisibleOldNameLowerCase",
                                  "about:blank - microsoft internet explorer",
                                  CBrowserWindows::Kind::Visible},
                      BrowserCase{"Minimised", "Blank Page - Windows Internet Explorer",
                                  CBrowserWindows::Kind::Minimised}),
    [](const ::testing::TestParamInfo<BrowserCase>& info) { return info.param.name; });

TEST_F(WatchTest, HiddenOwnedAndOtherBrowsersDoNotHoldThePurge) {
    ASSERT_NE(m_pBrowsers->Create("Blank Page - Windows Internet Explorer",
                                  CBrowserWindows::Kind::Hidden),
              nullptr);
    ASSERT_NE(
        m_pBrowsers->Create("Blank Page - Windows Internet Explorer", CBrowserWindows::Kind::Owned),
        nullptr);
    ASSERT_NE(m_pBrowsers->Create("Blank Page - Mozilla Firefox", CBrowserWindows::Kind::Visible),
              nullptr);
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    ASSERT_TRUE(LaunchVisible("winxp"));
    Dialog().Click(IDC_BTN_YES);
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("a.txt"); }, kFirstPurgeTimeoutMs))
        << "a hidden browser window, an owned one or another browser held the purge";
}

} // namespace
