// Ending the program: Escape, the close box and "終了" in the tray menu end it promptly with the
// watch running, also while the watch has a question open or the About box or the file dialog is
// up, and nothing is deleted afterwards.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/harness/foreign_processes.h"
#include "tests/e2e/harness/popup_menu_driver.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::NowMs;

namespace {

// The program ends on its own within about a second (the time is recorded with the result):
// only an end that waits for the user, or for a window open above the dialog, runs past this
// bound, also on a busy machine.
constexpr DWORD kEndWithinMs = 8000;

enum class EndBy { Escape, CloseBox, TrayExit };
// What is open when the end is asked for: the watch's question (on the worker's thread), or a
// modal window of the user-interface thread.
enum class Over { Nothing, Question, AboutBox, FileDialog };

struct ShutdownCase {
    const char* name;
    EndBy by;
    Over over;
};

class ShutdownTest : public CWispfoldFixture, public ::testing::WithParamInterface<ShutdownCase> {};

TEST_P(ShutdownTest, EndsWithinASecondWithTheWatchOn) {
    const ShutdownCase& c = GetParam();
    const bool bQuestion = c.over == Over::Question;
    if (bQuestion) {
        ASSERT_TRUE(m_cookies.AddFile("ro.txt", true));
    }
    ASSERT_TRUE(LaunchVisible("winxp"));
    Dialog().Click(IDC_BTN_YES);
    ASSERT_GE(WaitHidden(NowMs(), 5000), 0) << "the watch did not start";
    if (bQuestion) {
        ASSERT_NE(WaitForMessageBox(8000), nullptr) << "no question about ro.txt";
    } else {
        // Let the worker reach its sleep between passes.
        ASSERT_TRUE(m_cookies.AddFile("a.txt"));
        ASSERT_TRUE(e2e::WaitUntil([&] { return !m_cookies.Exists("a.txt"); }, 8000));
    }
    if (c.over == Over::AboutBox) {
        ASSERT_TRUE(Dialog().SysCommand(e2e::kAboutCommand));
        ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(FindAboutBox()); }, 15000));
    } else if (c.over == Over::FileDialog) {
        ASSERT_TRUE(Dialog().Click(IDC_BTN_OPEN));
        ASSERT_NE(WaitForMessageBox(15000), nullptr) << "no file dialog";
    }
    const HWND hMenu = c.by == EndBy::TrayExit ? OpenTrayMenu() : nullptr;
    const CForeignProcesses notepads("notepad.exe");

    const ULONGLONG t0 = NowMs();
    if (c.by == EndBy::Escape)
        ASSERT_TRUE(Dialog().PressKey(VK_ESCAPE));
    else if (c.by == EndBy::CloseBox)
        ASSERT_TRUE(Dialog().Close());
    else
        ASSERT_TRUE(hMenu && CPopupMenuDriver(hMenu).Pick(1)) << "no tray menu to pick 終了 from";
    const bool bEnded = m_process.WaitExit(kEndWithinMs);
    const long long endedAfter = static_cast<long long>(NowMs() - t0);
    ASSERT_TRUE(bEnded) << "still running " << endedAfter << " ms after the request";
    RecordProperty("ended_after_ms", std::to_string(endedAfter));
    EXPECT_TRUE(notepads.New().empty()) << "the file dialog's end was taken for a file chosen";

    if (bQuestion) {
        EXPECT_TRUE(m_cookies.Exists("ro.txt")) << "the open question was taken as Yes";
        EXPECT_EQ(GetFileAttributesA((m_cookies.Path() + "ro.txt").c_str()) &
                      FILE_ATTRIBUTE_READONLY,
                  static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shutdown, ShutdownTest,
    ::testing::Values(ShutdownCase{"Escape", EndBy::Escape, Over::Nothing},
                      ShutdownCase{"CloseBox", EndBy::CloseBox, Over::Nothing},
                      ShutdownCase{"TrayExitWithQuestionOpen", EndBy::TrayExit, Over::Question},
                      ShutdownCase{"CloseBoxWithQuestionOpen", EndBy::CloseBox, Over::Question},
                      ShutdownCase{"TrayExitOverTheAboutBox", EndBy::TrayExit, Over::AboutBox},
                      ShutdownCase{"TrayExitOverTheFileDialog", EndBy::TrayExit, Over::FileDialog}),
    [](const ::testing::TestParamInfo<ShutdownCase>& info) { return info.param.name; });

using EndTest = CWispfoldFixture;

TEST_F(EndTest, EscapeOnTheVisibleDialogEndsIt) {
    ASSERT_TRUE(LaunchVisible("winxp"));
    ASSERT_TRUE(Dialog().PressKey(VK_ESCAPE));
    EXPECT_TRUE(m_process.WaitExit(3000));
}

} // namespace
