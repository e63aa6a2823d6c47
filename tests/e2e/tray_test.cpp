// The notification icon's callback and the tray menu: which mouse reports open the menu, where
// it opens, and what "開く" and "終了" do to a hidden dialog with a running watch.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/e2e/harness/popup_menu_driver.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::HoldsFor;
using e2e::NowMs;
using e2e::WaitUntil;

namespace {

constexpr int kOpenItem = 0;
constexpr int kExitItem = 1;

class TrayTest : public CWispfoldFixture {
protected:
    bool NoMenuOpen() const {
        HWND hMenu = Scout().PopupMenu();
        return hMenu == nullptr || !IsWindowVisible(hMenu);
    }

    // "はい" on the dialog on the screen: the watch runs and the dialog hides.
    void StartWatchFromDialog() {
        ASSERT_TRUE(WaitUntil([&] { return IsOnScreen(); }, 5000))
            << "the dialog is not on the screen";
        ASSERT_TRUE(Dialog().Click(IDC_BTN_YES));
        ASSERT_GE(WaitHidden(NowMs(), 5000), 0);
        ASSERT_TRUE(WaitSettledAfterHide());
    }
};

TEST_F(TrayTest, OnlyALeftButtonPressOpensTheMenuAtTheCursor) {
    ASSERT_TRUE(LaunchVisible());
    for (LPARAM mouse : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_MOUSEMOVE,
                         WM_CONTEXTMENU})
        ASSERT_TRUE(Dialog().PostTrayNotify(e2e::kTrayNotify, 1, mouse));
    EXPECT_TRUE(HoldsFor([&] { return NoMenuOpen(); }, 1500))
        << "a report other than a left press opened the menu";

    ASSERT_TRUE(SetCursorPos(300, 200));
    const HWND hMenu = OpenTrayMenu();
    ASSERT_NE(hMenu, nullptr) << "a left press opened no menu";
    RECT rc{};
    GetWindowRect(hMenu, &rc);
    EXPECT_EQ(rc.left, 300) << "left-aligned at the cursor";
    EXPECT_EQ(rc.top, 200) << "top-aligned at the cursor";

    // Dismissed, it sends no command: the dialog stays as it was.
    ASSERT_TRUE(CPopupMenuDriver(hMenu).Dismiss());
    EXPECT_TRUE(WaitUntil([&] { return NoMenuOpen(); }, 3000));
    EXPECT_TRUE(HoldsFor([&] { return Dialog().IsVisible() && m_process.IsRunning(); }, 500));

    // Every press makes a menu of its own.
    const HWND hAgain = OpenTrayMenu();
    ASSERT_NE(hAgain, nullptr) << "the second press opened no menu";
    ASSERT_TRUE(CPopupMenuDriver(hAgain).Dismiss());
    EXPECT_TRUE(WaitUntil([&] { return NoMenuOpen(); }, 3000));
}

TEST_F(TrayTest, OpenShowsTheHiddenDialogAndTheWatchGoesOn) {
    ASSERT_TRUE(LaunchVisible());
    StartWatchFromDialog();

    const HWND hMenu = OpenTrayMenu();
    ASSERT_NE(hMenu, nullptr);
    ASSERT_TRUE(CPopupMenuDriver(hMenu).Pick(kOpenItem));
    ASSERT_TRUE(WaitUntil([&] { return Dialog().IsVisible(); }, 5000))
        << "\"開く\" did not show the dialog";

    // A file that appears now is still swept away.
    ASSERT_TRUE(m_cookies.AddFile("after-open.txt"));
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("after-open.txt"); }, 8000))
        << "the watch stopped when the dialog was shown";
    EXPECT_TRUE(Dialog().IsVisible());

    // "はい" hides it again.
    StartWatchFromDialog();
}

TEST_F(TrayTest, ExitEndsTheProgramWhileTheWatchRuns) {
    ASSERT_TRUE(LaunchVisible());
    StartWatchFromDialog();
    const HWND hMenu = OpenTrayMenu();
    ASSERT_NE(hMenu, nullptr);
    ASSERT_TRUE(CPopupMenuDriver(hMenu).Pick(kExitItem));
    EXPECT_TRUE(m_process.WaitExit(10000)) << "\"終了\" did not end the program";
}

} // namespace
