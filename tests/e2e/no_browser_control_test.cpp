// The program when the browser control cannot be created (its DLL disabled for this run by
// the test's environment, which the started program inherits).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::HoldsFor;
using e2e::NowMs;
using e2e::WaitUntil;

namespace {

using NoBrowserControl = CWispfoldFixture;

TEST_F(NoBrowserControl, TheDialogStillWorks) {
    // Its own CTest entry runs this program with the browser control's DLL disabled, and the
    // started program inherits that; anywhere else the scenario would prove nothing.
    char szOverrides[256] = {};
    GetEnvironmentVariableA("WINEDLLOVERRIDES", szOverrides, sizeof(szOverrides));
    ASSERT_NE(std::string(szOverrides).find("ieframe=d"), std::string::npos)
        << "run through its own CTest entry (WISPFOLD_WITHOUT_BROWSER_CONTROL)";
    ASSERT_TRUE(m_cookies.AddFile("a.txt"));
    ASSERT_TRUE(LaunchVisible("winxp"));
    EXPECT_TRUE(
        HoldsFor([&] { return FindMessageBox() == nullptr && m_process.IsRunning(); }, 1000));
    // The page view could not be made, so the group box holds no child and shows itself.
    HWND hHost = Dialog().Item(IDC_BROWSER_HOST);
    ASSERT_NE(hHost, nullptr);
    EXPECT_EQ(GetWindow(hHost, GW_CHILD), nullptr) << "a page view exists after all";
    EXPECT_TRUE(IsWindowVisible(hHost));

    Dialog().Click(IDC_BTN_YES);
    EXPECT_GE(WaitHidden(NowMs(), 5000), 0);
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("a.txt"); }, 8000));

    ASSERT_TRUE(Dialog().PressKey(VK_ESCAPE));
    EXPECT_TRUE(m_process.WaitExit(3000));
}

} // namespace
