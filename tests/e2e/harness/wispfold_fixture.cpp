#include "tests/e2e/harness/wispfold_fixture.h"

#include <cstdlib>

#include "tests/e2e/harness/message_box.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/screen_probe.h"
#include "tests/e2e/harness/wait_until.h"

using e2e::NowMs;
using e2e::WaitUntil;

void CWispfoldFixture::SetUp() {
    ASSERT_FALSE(m_cookies.Path().empty()) << "the shell does not resolve CSIDL_COOKIES";
    ASSERT_TRUE(m_cookies.Clear()) << "left over from an earlier run: " << m_cookies.Path();
    ASSERT_TRUE(m_cookies.Ensure()) << m_cookies.Path();
    ASSERT_TRUE(CRegValue::DeleteTree(e2e::kProfileRoot));
    ASSERT_TRUE(m_version.Delete());
    m_pBrowsers = std::make_unique<CBrowserWindows>();
    m_pDialog = std::make_unique<CDialogDriver>(nullptr);
}

void CWispfoldFixture::TearDown() {
    // The process first: once it is gone nothing can touch the files or the profile any more.
    m_process.Terminate();
    m_pBrowsers.reset();
    EXPECT_TRUE(m_version.Delete());
    CRegValue::DeleteIfEmpty(e2e::kVersionKey);
    EXPECT_TRUE(CRegValue::DeleteTree(e2e::kProfileRoot));
    EXPECT_TRUE(m_cookies.Clear()) << m_cookies.Path();
}

std::string CWispfoldFixture::ProgramPath() {
    if (const char* pszPath = std::getenv("WISPFOLD_EXE"); pszPath != nullptr && *pszPath)
        return pszPath;
#ifdef WISPFOLD_EXE
    return WISPFOLD_EXE;
#else
    return std::string();
#endif
}

void CWispfoldFixture::SetVersion(const std::string& wineVersion) {
    ASSERT_TRUE(m_version.WriteString(wineVersion));
}

::testing::AssertionResult CWispfoldFixture::Launch(const std::string& wineVersion) {
    const std::string path = ProgramPath();
    if (path.empty())
        return ::testing::AssertionFailure() << "the program's path is not known";
    if (!m_version.WriteString(wineVersion))
        return ::testing::AssertionFailure() << "cannot write the version answer";
    if (!m_process.Start(path))
        return ::testing::AssertionFailure() << m_process.Error();
    HWND hDlg = nullptr;
    const bool bFound = WaitUntil(
        [&] {
            hDlg = Scout().Find("#32770", e2e::kMainCaption);
            return hDlg != nullptr || !m_process.IsRunning();
        },
        kStartTimeoutMs);
    if (!bFound || hDlg == nullptr)
        return ::testing::AssertionFailure()
               << "no window \"" << e2e::kMainCaption << "\" of the started process within "
               << kStartTimeoutMs << " ms (process "
               << (m_process.IsRunning() ? "running" : "ended") << ")";
    m_pDialog = std::make_unique<CDialogDriver>(hDlg);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CWispfoldFixture::LaunchVisible(const std::string& wineVersion) {
    auto result = Launch(wineVersion);
    if (!result)
        return result;
    if (!WaitUntil([&] { return Dialog().IsVisible(); }, kStartTimeoutMs))
        return ::testing::AssertionFailure() << "the main dialog never became visible";
    return ::testing::AssertionSuccess();
}

HWND CWispfoldFixture::FindMessageBox() const {
    // A box counts once it is visible: before that its text may not be filled in yet.
    for (HWND hWnd : Scout().Dialogs(m_pDialog->Window()))
        if (IsWindowVisible(hWnd) && CWindowScout::TextOf(hWnd) != e2e::kAboutCaption)
            return hWnd;
    return nullptr;
}

HWND CWispfoldFixture::WaitForMessageBox(DWORD timeoutMs) const {
    HWND hBox = nullptr;
    WaitUntil([&] { return (hBox = FindMessageBox()) != nullptr; }, timeoutMs);
    return hBox;
}

HWND CWispfoldFixture::FindAboutBox() const {
    return Scout().Find("#32770", e2e::kAboutCaption);
}

bool CWispfoldFixture::IsOnScreen() const {
    return CScreenProbe::PixelAt(m_pDialog->ClientToScreenPoint(2, 2)) == e2e::kBackColour;
}

::testing::AssertionResult CWispfoldFixture::WaitSettledAfterHide() const {
    if (!WaitUntil([&] { return !IsOnScreen(); }, kBoxTimeoutMs))
        return ::testing::AssertionFailure() << "the X server kept the hidden dialog on the screen";
    // The X server has sent the focus-out with the hide. The program reads it when its queue
    // next runs empty, and the class library shows a modal dialog only then: once the About box
    // is up, the focus-out has been read, at a time when the hidden dialog did not have the
    // foreground (the hide gave it away), so it had nothing to cancel.
    if (!m_pDialog->SysCommand(e2e::kAboutCommand))
        return ::testing::AssertionFailure() << "the About command could not be posted";
    HWND hAbout = nullptr;
    if (!WaitUntil(
            [&] {
                hAbout = FindAboutBox();
                return hAbout != nullptr && IsWindowVisible(hAbout);
            },
            kBoxTimeoutMs))
        return ::testing::AssertionFailure() << "the About box never came up";
    if (!CMessageBox(hAbout).Answer(IDOK) ||
        !WaitUntil([&] { return !IsWindow(hAbout); }, kBoxTimeoutMs))
        return ::testing::AssertionFailure() << "the About box did not close";
    return ::testing::AssertionSuccess();
}

HWND CWispfoldFixture::OpenTrayMenu() const {
    if (!m_pDialog->PostTrayNotify(e2e::kTrayNotify, 1, WM_LBUTTONDOWN))
        return nullptr;
    HWND hMenu = nullptr;
    WaitUntil(
        [&] {
            hMenu = Scout().PopupMenu();
            return hMenu != nullptr && IsWindowVisible(hMenu);
        },
        kBoxTimeoutMs);
    return hMenu != nullptr && IsWindowVisible(hMenu) ? hMenu : nullptr;
}

long long CWispfoldFixture::WaitHidden(ULONGLONG sinceMs, DWORD timeoutMs) const {
    if (!WaitUntil([&] { return !m_pDialog->IsVisible(); }, timeoutMs))
        return -1;
    return static_cast<long long>(NowMs() - sinceMs);
}
