// Start-up on each version answer: the supported platforms show the dialog, every other one
// shows the one refusal message and the program ends once it is answered.
#include <gtest/gtest.h>

#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::HoldsFor;

namespace {

class SupportedPlatform : public CWispfoldFixture,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(SupportedPlatform, ShowsTheDialogAndNoMessage) {
    ASSERT_TRUE(LaunchVisible(GetParam()));
    EXPECT_TRUE(
        HoldsFor([&] { return FindMessageBox() == nullptr && m_process.IsRunning(); }, 1000))
        << "a message box or an early end on a supported platform";
    EXPECT_TRUE(Dialog().IsEnabled());
}

INSTANTIATE_TEST_SUITE_P(Gate, SupportedPlatform, ::testing::Values("win2k", "winxp", "vista"));

class RefusedPlatform : public CWispfoldFixture,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(RefusedPlatform, ShowsTheRefusalAndEndsAfterOk) {
    ASSERT_TRUE(Launch(GetParam()));
    HWND hBox = WaitForMessageBox();
    ASSERT_NE(hBox, nullptr) << "no refusal message";
    CMessageBox box(hBox);
    EXPECT_EQ(box.Text(), e2e::kRefusalText);
    EXPECT_EQ(box.Caption(), e2e::kAppName);
    EXPECT_TRUE(box.HasButton(IDOK));
    EXPECT_FALSE(box.HasButton(IDYES));
    EXPECT_EQ(GetWindow(hBox, GW_OWNER), Dialog().Window()) << "the main dialog owns the box";
    EXPECT_FALSE(Dialog().IsVisible()) << "the dialog shows before the refusal is answered";
    // The program waits for the answer.
    EXPECT_TRUE(HoldsFor([&] { return m_process.IsRunning() && box.Exists(); }, 500));

    ASSERT_TRUE(box.Answer(IDOK));
    EXPECT_TRUE(m_process.WaitExit(5000)) << "still running 5 s after OK";
}

// Windows Server 2003 (5.2), 7 (6.1), NT 4.0, 10 (6.2 without a compatibility manifest) and
// the 9x family (platform id 1).
INSTANTIATE_TEST_SUITE_P(Gate, RefusedPlatform,
                         ::testing::Values("win2003", "win7", "nt40", "win10", "win98"));

} // namespace
