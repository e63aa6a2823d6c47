// What the program hands the shell, read from Wine's relay trace: the icon is added once, added
// again for a new taskbar, and deleted on every way the program ends (Wine would remove a
// dead window's icon by itself, so only the trace shows our own delete); and the exact
// ShellExecuteA arguments of the web commands and of the cookie file viewer. Runs only under
// tests/e2e/relay_run.sh, which provides the trace.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include <cstdio>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness/foreign_processes.h"
#include "tests/e2e/harness/popup_menu_driver.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/relay_trace.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/wispfold_fixture.h"

using e2e::WaitUntil;

namespace {

// Shell_NotifyIconA(message, record): the message as the trace prints it.
const char kAdd[] = "Call shell32.Shell_NotifyIconA(00000000,";
const char kModify[] = "Call shell32.Shell_NotifyIconA(00000001,";
const char kDelete[] = "Call shell32.Shell_NotifyIconA(00000002,";
const char kShellExecute[] = "Call shell32.ShellExecuteA(";
// The trace shows the call before the started program exists; its return comes after.
const char kShellExecuteReturned[] = "Ret  shell32.ShellExecuteA(";
const char kAllow[] = "Call user32.ChangeWindowMessageFilter(";

std::string Hex8(const void* p) {
    char text[16];
    std::snprintf(text, sizeof(text), "%08lx",
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(p)));
    return text;
}

class RelayTest : public CWispfoldFixture {
protected:
    void SetUp() override {
        if (!m_trace.IsAvailable())
            GTEST_SKIP() << "no relay trace (run through tests/e2e/relay_run.sh)";
        CWispfoldFixture::SetUp();
        m_trace.Mark();
    }

    size_t Count(const char* needle) const { return m_trace.Since(needle).size(); }

    CRelayTrace m_trace;
};

TEST_F(RelayTest, IconAddedOnceAgainForANewTaskbarAndDeletedAtTrayExit) {
    ASSERT_TRUE(LaunchVisible());
    EXPECT_EQ(Count(kAdd), 1u);
    EXPECT_EQ(Count(kDelete), 0u);

    const UINT uTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(uTaskbarCreated, 0u);
    ASSERT_TRUE(PostMessageA(Dialog().Window(), uTaskbarCreated, 0, 0));
    EXPECT_TRUE(WaitUntil([&] { return Count(kAdd) == 2; }, 5000))
        << "no second NIM_ADD after TaskbarCreated";
    // Wine's taskbar was not really new and still holds the icon, so it refuses the add; the
    // program then finds its icon there (one NIM_MODIFY) and tries no more.
    EXPECT_TRUE(WaitUntil([&] { return Count(kModify) == 1; }, 5000));
    EXPECT_EQ(Count(kDelete), 0u);

    const HWND hMenu = OpenTrayMenu();
    ASSERT_NE(hMenu, nullptr);
    ASSERT_TRUE(CPopupMenuDriver(hMenu).Pick(1));
    ASSERT_TRUE(m_process.WaitExit(10000));
    EXPECT_EQ(Count(kDelete), 1u) << "\"終了\" left the icon behind";
    EXPECT_EQ(Count(kAdd), 2u);
}

TEST_F(RelayTest, IconDeletedWhenTheDialogIsClosed) {
    ASSERT_TRUE(LaunchVisible());
    ASSERT_TRUE(Dialog().Close());
    ASSERT_TRUE(m_process.WaitExit(10000));
    EXPECT_EQ(Count(kAdd), 1u);
    EXPECT_EQ(Count(kDelete), 1u);
}

TEST_F(RelayTest, IconDeletedWhenThePlatformIsRefused) {
    ASSERT_TRUE(Launch("win7"));
    const HWND hBox = WaitForMessageBox();
    ASSERT_NE(hBox, nullptr);
    // The icon is there while the refusal is shown.
    EXPECT_EQ(Count(kAdd), 1u);
    EXPECT_EQ(Count(kDelete), 0u);
    ASSERT_TRUE(CMessageBox(hBox).Answer(IDOK));
    ASSERT_TRUE(m_process.WaitExit(10000));
    EXPECT_EQ(Count(kDelete), 1u);
}

// On Vista alone: exactly the new taskbar's notice and WM_CLOSE may come from lower integrity.
TEST_F(RelayTest, OnVistaTheNewTaskbarAndCloseMayComeFromLowerIntegrity) {
    char szTaskbarCreated[80];
    std::snprintf(szTaskbarCreated, sizeof(szTaskbarCreated), "%s%08x,00000001)", kAllow,
                  RegisterWindowMessageA("TaskbarCreated"));
    for (const std::string version : {"win2k", "winxp", "vista"}) {
        m_trace.Mark();
        ASSERT_TRUE(Launch(version));
        const size_t nWanted = version == "vista" ? 1 : 0;
        EXPECT_EQ(Count(kAllow), 2 * nWanted) << version;
        EXPECT_EQ(Count(szTaskbarCreated), nWanted) << version;
        EXPECT_EQ(Count("Filter(00000010,00000001)"), nWanted) << version << ": WM_CLOSE";
    }
}

TEST_F(RelayTest, WebCommandsOpenTheirPagesHidden) {
    CForeignProcesses browsers("winebrowser.exe");
    ASSERT_TRUE(LaunchVisible());
    const std::string owner = Hex8(Dialog().Window());
    const struct {
        int id;
        const char* address;
    } commands[] = {
        {IDC_BTN_HELP, "\"http://www.quenmarsh-mail.example/mail/\""},
        {IDC_BTN_SITES, "\"http://www.quenmarsh-mail.example/TopCookie.php\""},
        {IDC_BTN_NEWS, "\"http://www.quenmarsh-mail.example/mail/UserRegister.php\""},
    };
    for (const auto& command : commands) {
        m_trace.Mark();
        ASSERT_TRUE(Dialog().Click(command.id));
        std::vector<std::string> calls;
        ASSERT_TRUE(WaitUntil(
            [&] {
                calls = m_trace.Since(kShellExecute);
                return !calls.empty();
            },
            10000))
            << "no ShellExecuteA for button " << command.id;
        ASSERT_EQ(calls.size(), 1u);
        const std::string& call = calls[0];
        // Owner, no verb, the address, no parameters, no directory, SW_HIDE.
        EXPECT_NE(call.find(kShellExecute + owner + ",00000000,"), std::string::npos) << call;
        EXPECT_NE(call.find(command.address), std::string::npos) << call;
        EXPECT_NE(call.find(",00000000,00000000,00000000)"), std::string::npos) << call;
        EXPECT_TRUE(WaitUntil([&] { return Count(kShellExecuteReturned) == 1; }, 10000));
    }
    EXPECT_TRUE(m_process.IsRunning());
    browsers.EndNew();
}

TEST_F(RelayTest, ViewerHandsNotepadTheBareNameUnquoted) {
    CForeignProcesses notepads("notepad.exe");
    ASSERT_TRUE(m_cookies.AddFile("my cookie.txt"));
    ASSERT_TRUE(LaunchVisible());
    const std::string owner = Hex8(Dialog().Window());
    ASSERT_TRUE(Dialog().Click(IDC_BTN_OPEN));
    HWND hFile = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND hWnd : Scout().Dialogs(Dialog().Window()))
                if (IsWindowVisible(hWnd))
                    hFile = hWnd;
            return hFile != nullptr;
        },
        15000));
    HWND hName = GetDlgItem(hFile, cmb13);
    if (!hName)
        hName = GetDlgItem(hFile, edt1);
    ASSERT_NE(hName, nullptr);
    // Quoted in the dialog, so the dialog takes it as one name.
    SendMessageA(hName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\"my cookie.txt\""));
    ASSERT_TRUE(PostMessageA(hFile, WM_COMMAND, IDOK, 0));

    std::vector<std::string> calls;
    ASSERT_TRUE(WaitUntil(
        [&] {
            calls = m_trace.Since(kShellExecute);
            return !calls.empty();
        },
        15000))
        << "no ShellExecuteA after a file was chosen";
    ASSERT_EQ(calls.size(), 1u);
    const std::string& call = calls[0];
    EXPECT_NE(call.find(kShellExecute + owner + ","), std::string::npos) << call;
    EXPECT_NE(call.find("\"open\","), std::string::npos) << call;
    EXPECT_NE(call.find("\"notepad.exe\","), std::string::npos) << call;
    // The bare name as the trace quotes a string argument: no folder, no quotes of our own.
    EXPECT_NE(call.find(" \"my cookie.txt\",00000000,00000005)"), std::string::npos) << call;
    EXPECT_TRUE(WaitUntil([&] { return Count(kShellExecuteReturned) == 1; }, 10000));
    notepads.EndNew();
}

} // namespace
