#include "tests/e2e/harness/wispfold_fixture.h"

#include <cstdlib>

#include "tests/e2e/harness/program_texts.h"
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

::testing::AssertionResult CWispfoldFixture::WaitSettledAfterHide() const {
    const HWND hDlg = m_pDialog->Window();
    if (!WaitUntil(
            [&] {
                const HWND hForeground = GetForegroundWindow();
                return hForeground != nullptr && hForeground != hDlg;
            },
            kBoxTimeoutMs))
        return ::testing::AssertionFailure() << "the hidden dialog kept the focus";
    if (!m_process.WaitIdle(kBoxTimeoutMs))
        return ::testing::AssertionFailure() << "the program never became idle after the hide";
    return ::testing::AssertionSuccess();
}

long long CWispfoldFixture::WaitHidden(ULONGLONG sinceMs, DWORD timeoutMs) const {
    if (!WaitUntil([&] { return !m_pDialog->IsVisible(); }, timeoutMs))
        return -1;
    return static_cast<long long>(NowMs() - sinceMs);
}
