// Ending the program from the main dialog: Escape and the close box end it promptly with the
// watch running, also while the watch has a question open, and nothing is deleted afterwards.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::NowMs;

namespace {

// The end must not wait for the worker's two-second sleep; one second is what the user gets.
constexpr DWORD kEndWithinMs = 1000;

enum class EndBy { Escape, CloseBox };

struct ShutdownCase {
    const char* name;
    EndBy by;
    bool questionOpen;
};

class ShutdownTest : public CWispfoldFixture, public ::testing::WithParamInterface<ShutdownCase> {};

TEST_P(ShutdownTest, EndsWithinASecondWithTheWatchOn) {
    const ShutdownCase& c = GetParam();
    if (c.questionOpen) {
        ASSERT_TRUE(m_cookies.AddFile("ro.txt", true));
    }
    ASSERT_TRUE(LaunchVisible("winxp"));
    Dialog().Click(IDC_BTN_YES);
    ASSERT_GE(WaitHidden(NowMs(), 5000), 0) << "the watch did not start";
    if (c.questionOpen) {
        ASSERT_NE(WaitForMessageBox(8000), nullptr) << "no question about ro.txt";
    } else {
        // Let the worker reach its sleep between passes.
        ASSERT_TRUE(m_cookies.AddFile("a.txt"));
        ASSERT_TRUE(e2e::WaitUntil([&] { return !m_cookies.Exists("a.txt"); }, 8000));
    }

    const ULONGLONG t0 = NowMs();
    if (c.by == EndBy::Escape)
        ASSERT_TRUE(Dialog().PressKey(VK_ESCAPE));
    else
        ASSERT_TRUE(Dialog().Close());
    const bool bEnded = m_process.WaitExit(kEndWithinMs + 2000);
    const long long endedAfter = static_cast<long long>(NowMs() - t0);
    ASSERT_TRUE(bEnded) << "still running " << endedAfter << " ms after the request";
    EXPECT_LE(endedAfter, kEndWithinMs);
    RecordProperty("ended_after_ms", std::to_string(endedAfter));

    if (c.questionOpen) {
        EXPECT_TRUE(m_cookies.Exists("ro.txt")) << "the open question was taken as Yes";
        EXPECT_EQ(GetFileAttributesA((m_cookies.Path() + "ro.txt").c_str()) &
                      FILE_ATTRIBUTE_READONLY,
                  static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shutdown, ShutdownTest,
    ::testing::Values(ShutdownCase{"Escape", EndBy::Escape, false},
                      ShutdownCase{"CloseBox", EndBy::CloseBox, false},
                      ShutdownCase{"EscapeWithQuestionOpen", EndBy::Escape, true},
                      ShutdownCase{"CloseBoxWithQuestionOpen", EndBy::CloseBox, true}),
    [](const ::testing::TestParamInfo<ShutdownCase>& info) { return info.param.name; });

using EndTest = CWispfoldFixture;

TEST_F(EndTest, EscapeOnTheVisibleDialogEndsIt) {
    ASSERT_TRUE(LaunchVisible("winxp"));
    ASSERT_TRUE(Dialog().PressKey(VK_ESCAPE));
    EXPECT_TRUE(m_process.WaitExit(3000));
}

} // namespace
