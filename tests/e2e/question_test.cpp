// Cookie files that resist deletion: the question names the file, Yes forces a read-only file
// out, No keeps it and the next pass asks again.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::HoldsFor;
using e2e::WaitUntil;

namespace {

constexpr DWORD kQuestionTimeoutMs = 8000;

class QuestionTest : public CWispfoldFixture {
protected:
    // Starts the watch and returns the first question box, checked for its text and form.
    HWND StartAndExpectQuestion(const std::string& name) {
        Dialog().Click(IDC_BTN_YES);
        HWND hBox = WaitForMessageBox(kQuestionTimeoutMs);
        if (hBox == nullptr) {
            ADD_FAILURE() << "no question about " << name;
            return nullptr;
        }
        CMessageBox box(hBox);
        EXPECT_EQ(box.Text(), std::string(e2e::kQuestionPrefix) + name);
        EXPECT_EQ(box.Caption(), e2e::kAppName);
        EXPECT_TRUE(box.HasButton(IDYES));
        EXPECT_TRUE(box.HasButton(IDNO));
        EXPECT_EQ(GetWindow(hBox, GW_OWNER), Dialog().Window()) << "the main dialog owns it";
        return hBox;
    }
    bool WaitBoxGone(HWND hBox) {
        return WaitUntil([&] { return !IsWindow(hBox); }, 3000);
    }
};

TEST_F(QuestionTest, YesForcesAReadOnlyFileOut) {
    ASSERT_TRUE(m_cookies.AddFile("ro.txt", true));
    ASSERT_TRUE(m_cookies.AddFile("a.dat"));
    ASSERT_TRUE(LaunchVisible("winxp"));
    HWND hBox = StartAndExpectQuestion("ro.txt");
    ASSERT_NE(hBox, nullptr);
    EXPECT_TRUE(m_cookies.Exists("ro.txt")) << "gone before the answer";

    ASSERT_TRUE(CMessageBox(hBox).Answer(IDYES));
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("ro.txt"); }, 3000));
    EXPECT_TRUE(HoldsFor([&] { return FindMessageBox() == nullptr; }, 2500))
        << "asked again about a file that is gone";
    EXPECT_TRUE(m_cookies.Exists("a.dat"));
}

TEST_F(QuestionTest, NoKeepsTheFileAndTheNextPassAsksAgain) {
    // A code page 932 name, named byte for byte; "表" ends in the byte 0x5C.
    const std::string name = "表示用クッキー.txt";
    ASSERT_TRUE(m_cookies.AddFile(name, true));
    ASSERT_TRUE(LaunchVisible("winxp"));
    HWND hFirst = StartAndExpectQuestion(name);
    ASSERT_NE(hFirst, nullptr);

    ASSERT_TRUE(CMessageBox(hFirst).Answer(IDNO));
    ASSERT_TRUE(WaitBoxGone(hFirst));
    EXPECT_TRUE(m_cookies.Exists(name));
    EXPECT_EQ(GetFileAttributesA((m_cookies.Path() + name).c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))
        << "No must leave the attributes alone";

    HWND hSecond = WaitForMessageBox(kQuestionTimeoutMs);
    ASSERT_NE(hSecond, nullptr) << "the next pass did not ask again";
    EXPECT_EQ(CMessageBox(hSecond).Text(), std::string(e2e::kQuestionPrefix) + name);
    ASSERT_TRUE(CMessageBox(hSecond).Answer(IDYES));
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists(name); }, 3000));
}

TEST_F(QuestionTest, AFolderNamedLikeACookieIsAskedAboutAndStays) {
    ASSERT_TRUE(m_cookies.AddDirectory("x.txt"));
    ASSERT_TRUE(LaunchVisible("winxp"));
    HWND hFirst = StartAndExpectQuestion("x.txt");
    ASSERT_NE(hFirst, nullptr);
    // Yes only helps read-only entries: the folder stays and the next pass asks again.
    ASSERT_TRUE(CMessageBox(hFirst).Answer(IDYES));
    ASSERT_TRUE(WaitBoxGone(hFirst));
    EXPECT_TRUE(m_cookies.Exists("x.txt"));
    HWND hSecond = WaitForMessageBox(kQuestionTimeoutMs);
    ASSERT_NE(hSecond, nullptr);
    EXPECT_EQ(CMessageBox(hSecond).Text(), std::string(e2e::kQuestionPrefix) + "x.txt");
    CMessageBox(hSecond).Answer(IDNO);
}

TEST_F(QuestionTest, AnOpenQuestionHoldsFurtherPasses) {
    ASSERT_TRUE(m_cookies.AddFile("ro.txt", true));
    ASSERT_TRUE(LaunchVisible("winxp"));
    HWND hBox = StartAndExpectQuestion("ro.txt");
    ASSERT_NE(hBox, nullptr);
    // While the question waits, the worker is blocked: no second box, no purge of new files.
    ASSERT_TRUE(m_cookies.AddFile("new.txt"));
    EXPECT_TRUE(HoldsFor(
        [&] {
            return m_cookies.Exists("new.txt") && Scout().Dialogs(Dialog().Window()).size() == 1;
        },
        2500));
    ASSERT_TRUE(CMessageBox(hBox).Answer(IDNO));
    EXPECT_TRUE(WaitUntil([&] { return !m_cookies.Exists("new.txt"); }, 8000));
}

} // namespace
