// The commands of the four hidden buttons, reached by posting their clicks: the cookie file
// viewer's open-file dialog and Notepad, and the web commands, which must leave the program
// running.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/harness/foreign_processes.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::HoldsFor;
using e2e::WaitUntil;

namespace {

// Notepad's own windows, found by the file name in their title.
struct TitleSearch {
    std::string part;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<TitleSearch*>(lParam);
    if (IsWindowVisible(hWnd) &&
        CWindowScout::TextOf(hWnd).find(search->part) != std::string::npos) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

std::string SentText(HWND hWnd) {
    char text[512] = {};
    SendMessageA(hWnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// "C:\a\b\" -> "b".
std::string FolderName(std::string path) {
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path.substr(path.find_last_of('\\') + 1);
}

HWND FindWindowTitled(const std::string& part) {
    TitleSearch search{part};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class SideCommandsTest : public CWispfoldFixture {
protected:
    // The open-file dialog: a visible dialog-class window of the program besides the main one.
    HWND WaitForFileDialog() {
        HWND hFile = nullptr;
        WaitUntil(
            [&] {
                for (HWND hWnd : Scout().Dialogs(Dialog().Window()))
                    if (IsWindowVisible(hWnd))
                        hFile = hWnd;
                return hFile != nullptr;
            },
            15000);
        return hFile;
    }

    // The file name box of the classic dialog: a combo box (cmb13) or a plain edit (edt1).
    static HWND FileNameBox(HWND hFile) {
        if (HWND hCombo = GetDlgItem(hFile, cmb13))
            return hCombo;
        return GetDlgItem(hFile, edt1);
    }

    CForeignProcesses m_notepads{"notepad.exe"};
};

TEST_F(SideCommandsTest, FileDialogOpensInTheCookieFolderAndCancelStartsNothing) {
    ASSERT_TRUE(LaunchVisible());
    ASSERT_TRUE(Dialog().Click(IDC_BTN_OPEN));
    const HWND hFile = WaitForFileDialog();
    ASSERT_NE(hFile, nullptr) << "no file dialog";
    EXPECT_EQ(GetWindow(hFile, GW_OWNER), Dialog().Window()) << "the main dialog owns it";
    EXPECT_FALSE(Dialog().IsEnabled()) << "the dialog runs modally";
    // The folder it shows and the filter it lists with: sent WM_GETTEXT, which Wine carries
    // across processes (GetWindowText would read only the stored caption).
    EXPECT_EQ(SentText(GetDlgItem(hFile, cmb2)), FolderName(m_cookies.Path()));
    EXPECT_EQ(SentText(GetDlgItem(hFile, cmb1)), "テキストファイル(*.txt)");
    // The read-only box is hidden.
    if (HWND hReadOnly = GetDlgItem(hFile, chx1)) {
        EXPECT_FALSE(IsWindowVisible(hReadOnly));
    }

    ASSERT_TRUE(PostMessageA(hFile, WM_COMMAND, IDCANCEL, 0));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hFile); }, 5000));
    EXPECT_TRUE(HoldsFor([&] { return m_notepads.New().empty(); }, 2000))
        << "a cancelled dialog started Notepad";
    EXPECT_TRUE(WaitUntil([&] { return Dialog().IsEnabled(); }, 3000));
    EXPECT_TRUE(m_process.IsRunning());
}

TEST_F(SideCommandsTest, ChosenFileOpensInNotepadByItsBareName) {
    ASSERT_TRUE(m_cookies.AddFile("chosen.txt"));
    ASSERT_TRUE(LaunchVisible());
    ASSERT_TRUE(Dialog().Click(IDC_BTN_OPEN));
    const HWND hFile = WaitForFileDialog();
    ASSERT_NE(hFile, nullptr) << "no file dialog";
    // A bare name typed into the dialog names a file of the folder it shows: the cookie folder.
    const HWND hName = FileNameBox(hFile);
    ASSERT_NE(hName, nullptr);
    SendMessageA(hName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("chosen.txt"));
    ASSERT_TRUE(PostMessageA(hFile, WM_COMMAND, IDOK, 0));

    HWND hNotepad = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (hNotepad = FindWindowTitled("chosen.txt")) != nullptr; }, 20000))
        << "no Notepad window shows chosen.txt";
    DWORD pid = 0;
    GetWindowThreadProcessId(hNotepad, &pid);
    EXPECT_EQ(m_notepads.New().count(pid), 1u) << "the window is not of a new Notepad";
    EXPECT_TRUE(m_cookies.Exists("chosen.txt"));
    EXPECT_TRUE(m_process.IsRunning());
    EXPECT_GE(m_notepads.EndNew(), 1u);
}

TEST_F(SideCommandsTest, WebCommandsLeaveTheProgramRunning) {
    CForeignProcesses browsers("winebrowser.exe");
    ASSERT_TRUE(LaunchVisible());
    for (int id : {IDC_BTN_HELP, IDC_BTN_SITES, IDC_BTN_NEWS})
        ASSERT_TRUE(Dialog().Click(id));
    // The About box answers only when the commands before it were handled.
    ASSERT_TRUE(Dialog().SysCommand(e2e::kAboutCommand));
    HWND hAbout = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hAbout = FindAboutBox()) != nullptr; }, 15000));
    ASSERT_TRUE(CMessageBox(hAbout).Answer(IDOK));
    EXPECT_TRUE(HoldsFor([&] { return m_process.IsRunning() && Dialog().IsVisible(); }, 1000));
    browsers.EndNew();
}

} // namespace
