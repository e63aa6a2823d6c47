// The main dialog as a window: its About box from the system menu, the show flag against show
// requests from outside, the bitmap buttons' size, the background colour and the page view.
#include <gtest/gtest.h>

#include <sstream>

#include "res/resource.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/screen_probe.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::HoldsFor;
using e2e::NowMs;
using e2e::WaitUntil;

namespace {

using WindowTest = CWispfoldFixture;

class AboutCommandTest : public CWispfoldFixture, public ::testing::WithParamInterface<WPARAM> {};

TEST_P(AboutCommandTest, OpensTheAboutBox) {
    ASSERT_TRUE(LaunchVisible("winxp"));
    ASSERT_TRUE(Dialog().SysCommand(GetParam()));
    HWND hAbout = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hAbout = FindAboutBox()) != nullptr; }, 5000));
    EXPECT_EQ(GetWindow(hAbout, GW_OWNER), Dialog().Window()) << "the main dialog owns it";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(hAbout) != FALSE; }, 3000));
    ASSERT_TRUE(CMessageBox(hAbout).Answer(IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hAbout); }, 3000));
    EXPECT_TRUE(m_process.IsRunning());
    EXPECT_TRUE(Dialog().IsVisible());
}

INSTANTIATE_TEST_SUITE_P(Window, AboutCommandTest, ::testing::Values(0x10, 0x1F));

TEST_F(WindowTest, SystemCommand0x20OpensNoAboutBox) {
    ASSERT_TRUE(LaunchVisible("winxp"));
    // Posted messages are handled in order: once the About box of 0x10 is up, 0x20 has been
    // handled. Had 0x20 opened a box, 0x10's box would sit on top of it.
    ASSERT_TRUE(Dialog().SysCommand(0x20));
    ASSERT_TRUE(Dialog().SysCommand(e2e::kAboutCommand));
    HWND hAbout = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hAbout = FindAboutBox()) != nullptr; }, 5000));
    ASSERT_TRUE(CMessageBox(hAbout).Answer(IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hAbout); }, 3000));
    EXPECT_TRUE(HoldsFor([&] { return FindAboutBox() == nullptr; }, 1000))
        << "0x20 opened an About box too";
}

TEST_F(WindowTest, ShowRequestsFromOutsideLeaveTheHiddenDialogHidden) {
    ASSERT_TRUE(LaunchVisible("winxp"));
    Dialog().Click(IDC_BTN_NO);
    ASSERT_GE(WaitHidden(NowMs(), 3000), 0);
    HWND hDlg = Dialog().Window();

    ShowWindow(hDlg, SW_SHOW);
    EXPECT_TRUE(HoldsFor([&] { return !Dialog().IsVisible(); }, 1000)) << "ShowWindow showed it";
    SetWindowPos(hDlg, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(HoldsFor([&] { return !Dialog().IsVisible(); }, 1000))
        << "SetWindowPos with SWP_SHOWWINDOW showed it";
    SetWindowPos(hDlg, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(HoldsFor([&] { return !Dialog().IsVisible(); }, 1000)) << "a move showed it";
    EXPECT_TRUE(m_process.IsRunning());
}

TEST_F(WindowTest, LayoutShowsOnlyItsVisibleControls) {
    ASSERT_TRUE(LaunchVisible("winxp"));
    for (int id : {IDC_BTN_YES, IDC_BTN_NO}) {
        const RECT rc = Dialog().ItemRect(id);
        EXPECT_EQ(rc.right - rc.left, 134) << "button " << id;
        EXPECT_EQ(rc.bottom - rc.top, 39) << "button " << id;
    }
    for (int id : {IDC_BTN_YES, IDC_BTN_NO, IDC_BROWSER_HOST, IDC_CHK_AUTOSTART})
        EXPECT_TRUE(IsWindowVisible(Dialog().Item(id))) << "control " << id;
    for (int id : {IDOK, IDCANCEL, IDC_BTN_HELP, IDC_BTN_OPEN, IDC_BTN_SITES, IDC_BTN_NEWS}) {
        ASSERT_NE(Dialog().Item(id), nullptr) << "control " << id;
        EXPECT_FALSE(IsWindowVisible(Dialog().Item(id))) << "control " << id;
    }
    // No minimise or maximise box, no sizing border; no taskbar button of its own.
    const LONG style = GetWindowLongA(Dialog().Window(), GWL_STYLE);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(GetWindowLongA(Dialog().Window(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
}

TEST_F(WindowTest, BackgroundIsTheProgramsColour) {
    ASSERT_TRUE(LaunchVisible("winxp"));
    const COLORREF expected = e2e::kBackColour;
    // Two points of bare background: the top-left corner of the client area, and left of
    // "はい" at its middle height, below the question text and above the check box.
    const RECT yes = Dialog().ItemRect(IDC_BTN_YES);
    const POINT corner = Dialog().ClientToScreenPoint(2, 2);
    const POINT beside{yes.left - 4, (yes.top + yes.bottom) / 2};
    COLORREF atCorner = CLR_INVALID;
    COLORREF atBeside = CLR_INVALID;
    CScreenProbe::Repaint(Dialog().Window());
    const bool bSeen = WaitUntil(
        [&] {
            atCorner = CScreenProbe::PixelAt(corner);
            atBeside = CScreenProbe::PixelAt(beside);
            return atCorner == expected && atBeside == expected;
        },
        5000);
    auto rgb = [](COLORREF c) {
        std::ostringstream s;
        s << int(GetRValue(c)) << "/" << int(GetGValue(c)) << "/" << int(GetBValue(c));
        return s.str();
    };
    EXPECT_TRUE(bSeen) << "corner " << rgb(atCorner) << ", beside はい " << rgb(atBeside)
                       << ", expected 251/225/183";
}

TEST_F(WindowTest, PageViewFillsTheHostGroupBox) {
    ASSERT_TRUE(LaunchVisible("winxp"));
    HWND hHost = Dialog().Item(IDC_BROWSER_HOST);
    ASSERT_NE(hHost, nullptr);
    HWND hView = GetWindow(hHost, GW_CHILD);
    ASSERT_NE(hView, nullptr) << "no page view inside the group box";
    EXPECT_EQ(GetDlgCtrlID(hView), 1001);
    EXPECT_TRUE(IsWindowVisible(hView));
    RECT client{};
    GetClientRect(hHost, &client);
    RECT view{};
    GetWindowRect(hView, &view);
    MapWindowPoints(nullptr, hHost, reinterpret_cast<POINT*>(&view), 2);
    EXPECT_EQ(view.left, client.left);
    EXPECT_EQ(view.top, client.top);
    EXPECT_EQ(view.right, client.right);
    EXPECT_EQ(view.bottom, client.bottom);
    EXPECT_GT(client.right, 0);
    EXPECT_GT(client.bottom, 0);
    // The view does not clash with "いいえ", whose id it shares.
    EXPECT_NE(Dialog().Item(IDC_BTN_NO), hView);
    EXPECT_TRUE(HoldsFor([&] { return FindMessageBox() == nullptr; }, 1000))
        << "the unreachable page produced a message";
}

} // namespace
