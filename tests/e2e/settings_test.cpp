// The start-at-launch check box against the real profile: what a click stores, and how a stored
// value (or its absence, or a value of the wrong type) decides the start of the program.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::HoldsFor;
using e2e::NowMs;
using e2e::WaitUntil;

namespace {

class StartAtLaunchTest : public CWispfoldFixture {
protected:
    HWND CheckBox() { return Dialog().Item(IDC_CHK_AUTOSTART); }
    LRESULT BoxState() { return SendMessageA(CheckBox(), BM_GETCHECK, 0, 0); }

    // A real click of the box: the button toggles itself and reports BN_CLICKED.
    ::testing::AssertionResult ClickBoxAndWaitFor(DWORD expected) {
        if (!PostMessageA(CheckBox(), BM_CLICK, 0, 0))
            return ::testing::AssertionFailure() << "BM_CLICK could not be posted";
        if (!WaitUntil([&] { return m_startAppDo.ReadDword() == expected; }, 5000))
            return ::testing::AssertionFailure()
                   << "StartAppDo is not the REG_DWORD " << expected << " after the click";
        return ::testing::AssertionSuccess();
    }
};

TEST_F(StartAtLaunchTest, ClicksStoreOneThenZeroAndLeaveARunningWatchRunning) {
    ASSERT_TRUE(LaunchVisible());
    EXPECT_FALSE(m_startAppDo.Exists()) << "merely starting wrote the setting";
    ASSERT_TRUE(Dialog().Click(IDC_BTN_YES));
    ASSERT_GE(WaitHidden(NowMs(), 5000), 0);

    ASSERT_TRUE(ClickBoxAndWaitFor(1));
    EXPECT_EQ(BoxState(), BST_CHECKED);
    ASSERT_TRUE(ClickBoxAndWaitFor(0));
    EXPECT_EQ(m_startAppDo.Type(), REG_DWORD);

    ASSERT_TRUE(m_cookies.AddFile("after-clicks.txt"));
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("after-clicks.txt"); }, 8000))
        << "a click stopped the watch";
    EXPECT_FALSE(Dialog().IsVisible()) << "a click showed the dialog";
}

TEST_F(StartAtLaunchTest, ClickOnAStoppedWatchDoesNotStartIt) {
    ASSERT_TRUE(LaunchVisible());
    ASSERT_TRUE(m_cookies.AddFile("kept.txt"));
    ASSERT_TRUE(ClickBoxAndWaitFor(1));
    EXPECT_TRUE(HoldsFor([&] { return m_cookies.Exists("kept.txt"); }, 3000))
        << "the click started the watch";
    EXPECT_TRUE(Dialog().IsVisible());
}

TEST_F(StartAtLaunchTest, StoredOneStartsHiddenWithTheWatchOn) {
    ASSERT_TRUE(m_startAppDo.WriteDword(1));
    ASSERT_TRUE(m_cookies.AddFile("at-launch.txt"));
    ASSERT_TRUE(Launch());
    bool bEverVisible = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            bEverVisible = bEverVisible || Dialog().IsVisible();
            return !m_cookies.Exists("at-launch.txt");
        },
        10000))
        << "the watch did not purge after start";
    EXPECT_FALSE(bEverVisible) << "the dialog was seen visible";
    EXPECT_TRUE(HoldsFor([&] { return !Dialog().IsVisible(); }, 1000));
    EXPECT_EQ(BoxState(), BST_CHECKED);
    EXPECT_TRUE(m_process.IsRunning());
}

// Each stored state that must leave the watch off: the dialog shows with the box clear, and a
// seeded cookie file stays.
enum class Stored { Missing, String };

class StartAtLaunchOffTest : public StartAtLaunchTest,
                             public ::testing::WithParamInterface<Stored> {};

TEST_P(StartAtLaunchOffTest, StartsShownWithTheBoxClearAndTheWatchOff) {
    if (GetParam() == Stored::String) {
        ASSERT_TRUE(m_startAppDo.WriteString("1"));
    }
    ASSERT_TRUE(m_cookies.AddFile("kept.txt"));
    ASSERT_TRUE(LaunchVisible());
    EXPECT_EQ(BoxState(), BST_UNCHECKED);
    EXPECT_TRUE(
        HoldsFor([&] { return m_cookies.Exists("kept.txt") && Dialog().IsVisible(); }, 3000))
        << "the watch started";
    // Reading leaves the value as it was.
    if (GetParam() == Stored::String) {
        EXPECT_EQ(m_startAppDo.Type(), REG_SZ);
    } else {
        EXPECT_FALSE(m_startAppDo.Exists());
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, StartAtLaunchOffTest,
                         ::testing::Values(Stored::Missing, Stored::String),
                         [](const ::testing::TestParamInfo<Stored>& info) {
                             return info.param == Stored::Missing ? "Missing" : "RegSz";
                         });

} // namespace
