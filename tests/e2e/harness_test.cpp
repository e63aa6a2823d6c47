// The harness's own pieces, checked against the platform without the program: if these do not
// behave, a failing scenario would say nothing about the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/e2e/harness/browser_windows.h"
#include "tests/e2e/harness/cookie_folder.h"
#include "tests/e2e/harness/dialog_driver.h"
#include "tests/e2e/harness/reg_value.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/window_scout.h"
#include "tests/e2e/harness/wispfold_process.h"

using e2e::WaitUntil;

namespace {

// The window walk's view of a window: what decides whether it counts as a browser.
bool CountsAsBrowserWindow(HWND hWnd) {
    return GetParent(hWnd) == nullptr && GetWindowTextLengthA(hWnd) > 0 &&
           IsWindowVisible(hWnd) == TRUE;
}

TEST(BrowserWindows, KindsLookToTheWindowWalkAsIntended) {
    CBrowserWindows browsers;
    HWND hVisible =
        browsers.Create("Blank Page - Windows Internet Explorer", CBrowserWindows::Kind::Visible);
    HWND hHidden =
        browsers.Create("Hidden - Windows Internet Explorer", CBrowserWindows::Kind::Hidden);
    HWND hOwned =
        browsers.Create("Owned - Windows Internet Explorer", CBrowserWindows::Kind::Owned);
    HWND hMinimised = browsers.Create("Minimised - Microsoft Internet Explorer",
                                      CBrowserWindows::Kind::Minimised);
    ASSERT_NE(hVisible, nullptr);
    ASSERT_NE(hHidden, nullptr);
    ASSERT_NE(hOwned, nullptr);
    ASSERT_NE(hMinimised, nullptr);

    EXPECT_TRUE(CountsAsBrowserWindow(hVisible));
    EXPECT_FALSE(CountsAsBrowserWindow(hHidden));
    EXPECT_TRUE(IsWindowVisible(hOwned));
    EXPECT_NE(GetParent(hOwned), nullptr) << "the owned window must report its owner";
    EXPECT_FALSE(CountsAsBrowserWindow(hOwned));
    EXPECT_TRUE(IsIconic(hMinimised));
    EXPECT_TRUE(CountsAsBrowserWindow(hMinimised));

    char title[128] = {};
    GetWindowTextA(hVisible, title, sizeof(title));
    EXPECT_STREQ(title, "Blank Page - Windows Internet Explorer");

    // Four windows and the owner of the owned one.
    EXPECT_EQ(browsers.Count(), 5u);
    browsers.Destroy(hVisible);
    EXPECT_FALSE(IsWindow(hVisible));
    browsers.DestroyAll();
    EXPECT_EQ(browsers.Count(), 0u);
    EXPECT_FALSE(IsWindow(hOwned));
    EXPECT_FALSE(IsWindow(hMinimised));
}

// The show requests the window test makes against the hidden dialog must be able to show an
// ordinary window of another thread, or that test proves nothing.
TEST(BrowserWindows, ShowRequestsFromAnotherThreadShowAnOrdinaryWindow) {
    CBrowserWindows browsers;
    HWND hFirst = browsers.Create("Shown by ShowWindow", CBrowserWindows::Kind::Hidden);
    HWND hSecond = browsers.Create("Shown by SetWindowPos", CBrowserWindows::Kind::Hidden);
    ASSERT_NE(hFirst, nullptr);
    ASSERT_NE(hSecond, nullptr);
    ShowWindow(hFirst, SW_SHOW);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(hFirst) != FALSE; }, 3000));
    SetWindowPos(hSecond, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(hSecond) != FALSE; }, 3000));
}

TEST(WindowScout, FindsOnlyTheWindowsOfItsProcess) {
    CBrowserWindows browsers;
    HWND hWnd = browsers.Create("Scout target", CBrowserWindows::Kind::Hidden);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(CWindowScout(GetCurrentProcessId()).Find("WispfoldE2eBrowser", "Scout target"), hWnd);
    EXPECT_EQ(CWindowScout(GetCurrentProcessId()).Find("WispfoldE2eBrowser", "Other"), nullptr);
    // A process id that is not ours (ids are multiples of 4, so this one never exists).
    EXPECT_EQ(CWindowScout(GetCurrentProcessId() + 2).Find("WispfoldE2eBrowser"), nullptr);
}

class CookieFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        ASSERT_TRUE(m_folder.Clear());
        ASSERT_TRUE(m_folder.Ensure());
    }
    void TearDown() override { EXPECT_TRUE(m_folder.Clear()); }
    CCookieFolder m_folder;
};

TEST_F(CookieFolderTest, ResolvesTheUsersCookieFolder) {
    const std::string& path = m_folder.Path();
    EXPECT_EQ(path.back(), '\\');
    EXPECT_EQ(path.find("\\\\"), std::string::npos) << path;
    char szPath[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_COOKIES, nullptr, 0, szPath)));
    EXPECT_EQ(path, std::string(szPath) + "\\");
}

TEST_F(CookieFolderTest, SeedsWhatThePurgeMeets) {
    ASSERT_TRUE(m_folder.AddFile("a.txt"));
    ASSERT_TRUE(m_folder.AddFile("ro.txt", true));
    ASSERT_TRUE(m_folder.AddDirectory("x.txt"));
    ASSERT_TRUE(m_folder.AddDirectory("Low"));
    ASSERT_TRUE(m_folder.AddFile("Low\\l.txt"));
    // Code page 932 names, one with the trail byte 0x5C ("表").
    ASSERT_TRUE(m_folder.AddFile("表示クッキー.txt"));

    EXPECT_EQ(m_folder.List(),
              (std::vector<std::string>{"Low", "a.txt", "ro.txt", "x.txt", "表示クッキー.txt"}));
    EXPECT_EQ(m_folder.List("Low"), (std::vector<std::string>{"l.txt"}));

    // A read-only file and a folder resist a plain file deletion, as the purge will find.
    EXPECT_FALSE(DeleteFileA((m_folder.Path() + "ro.txt").c_str()));
    EXPECT_FALSE(DeleteFileA((m_folder.Path() + "x.txt").c_str()));
    EXPECT_TRUE(DeleteFileA((m_folder.Path() + "表示クッキー.txt").c_str()));
    EXPECT_FALSE(m_folder.Exists("表示クッキー.txt"));

    EXPECT_TRUE(m_folder.Clear());
    EXPECT_TRUE(m_folder.List().empty());
    EXPECT_TRUE(m_folder.Exists("")) << "the folder itself stays";
}

TEST(RegValue, WritesReadsTypesAndDeletes) {
    const std::string key = "Software\\WispfoldE2eHarness\\Section";
    CRegValue value(key, "Number");
    ASSERT_TRUE(value.WriteDword(7));
    EXPECT_EQ(value.ReadDword(), 7u);
    EXPECT_EQ(value.Type(), static_cast<DWORD>(REG_DWORD));

    ASSERT_TRUE(value.WriteString("1"));
    EXPECT_EQ(value.Type(), static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(value.ReadDword().has_value()) << "a string is no number";

    EXPECT_TRUE(value.Delete());
    EXPECT_FALSE(value.Exists());
    EXPECT_TRUE(value.Delete()) << "deleting a missing value is no failure";

    ASSERT_TRUE(value.WriteDword(1));
    EXPECT_TRUE(CRegValue::DeleteTree("Software\\WispfoldE2eHarness"));
    EXPECT_FALSE(value.Exists());
    HKEY hKey = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\WispfoldE2eHarness", 0, KEY_READ, &hKey),
              ERROR_SUCCESS);
}

TEST(WispfoldProcess, MapsUnixPathsToDriveZ) {
    EXPECT_EQ(CWispfoldProcess::ToWindowsPath("/work/main/build/Wispfold.exe"),
              "Z:\\work\\main\\build\\Wispfold.exe");
    EXPECT_EQ(CWispfoldProcess::ToWindowsPath("C:\\x\\y.exe"), "C:\\x\\y.exe");
}

TEST(WispfoldProcess, ReportsAProgramThatCannotStart) {
    CWispfoldProcess process;
    EXPECT_FALSE(process.Start("/nonexistent/Wispfold.exe"));
    EXPECT_NE(process.Error().find("Z:\\nonexistent\\Wispfold.exe"), std::string::npos)
        << process.Error();
    EXPECT_FALSE(process.IsRunning());
    EXPECT_FALSE(process.WaitExit(0));
}

// A dialog shaped like the program's: hidden default IDOK, hidden IDCANCEL, one visible check
// box with the only tab stop. It counts the commands it gets and ends on IDCANCEL.
class CKeyDialog {
public:
    CKeyDialog() {
        m_thread = std::thread([this] {
            const std::vector<WORD> tmpl = BuildTemplate();
            DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                    reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()), nullptr,
                                    &CKeyDialog::Proc, reinterpret_cast<LPARAM>(this));
            m_bEnded = true;
        });
    }
    ~CKeyDialog() {
        if (HWND hWnd = m_hWnd.load(); hWnd && !m_bEnded)
            PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
        m_thread.join();
    }
    HWND Window() const { return m_hWnd.load(); }
    std::atomic<int> m_nOk{0};
    std::atomic<bool> m_bEnded{false};

private:
    static std::vector<WORD> BuildTemplate() {
        std::vector<WORD> t;
        auto dword = [&t](DWORD v) {
            t.push_back(LOWORD(v));
            t.push_back(HIWORD(v));
        };
        auto align = [&t] {
            if (t.size() % 2)
                t.push_back(0);
        };
        auto item = [&](DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls) {
            align();
            dword(style);
            dword(0);
            t.insert(t.end(), {WORD(x), WORD(y), WORD(cx), WORD(cy), id, 0xFFFF, cls, 0, 0});
        };
        dword(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
        dword(0);
        t.insert(t.end(), {3, 10, 10, 200, 80, 0, 0, 0});
        item(WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 50, 50, 14, IDOK, 0x0080);
        item(WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 70, 50, 50, 14, IDCANCEL, 0x0080);
        item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 10, 10, 100, 10, 1007, 0x0080);
        return t;
    }
    static INT_PTR CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<CKeyDialog*>(lParam);
            SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
            self->m_hWnd = hWnd;
            return TRUE;
        }
        auto* self = reinterpret_cast<CKeyDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
        if (message == WM_COMMAND && self) {
            if (LOWORD(wParam) == IDOK)
                ++self->m_nOk;
            if (LOWORD(wParam) == IDCANCEL)
                EndDialog(hWnd, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    std::thread m_thread;
    std::atomic<HWND> m_hWnd{nullptr};
};

TEST(DialogDriver, EnterReachesTheHiddenDefaultButtonAndEscapeCancels) {
    CKeyDialog dialog;
    ASSERT_TRUE(WaitUntil([&] { return dialog.Window() != nullptr; }, 10000));
    CDialogDriver driver(dialog.Window());
    ASSERT_TRUE(WaitUntil([&] { return driver.FocusedControl() != nullptr; }, 5000));
    EXPECT_EQ(driver.FocusedControl(), driver.Item(1007)) << "the check box has the focus";

    ASSERT_TRUE(driver.PressKey(VK_RETURN));
    EXPECT_TRUE(WaitUntil([&] { return dialog.m_nOk.load() == 1; }, 5000));
    EXPECT_FALSE(dialog.m_bEnded.load());

    ASSERT_TRUE(driver.PressKey(VK_ESCAPE));
    EXPECT_TRUE(WaitUntil([&] { return dialog.m_bEnded.load(); }, 5000));
    EXPECT_EQ(dialog.m_nOk.load(), 1);
}

TEST(DialogDriver, TypedKeysTakeTheSameWay) {
    CKeyDialog dialog;
    ASSERT_TRUE(WaitUntil([&] { return dialog.Window() != nullptr; }, 10000));
    CDialogDriver driver(dialog.Window());
    ASSERT_TRUE(driver.TypeKey(VK_RETURN));
    EXPECT_TRUE(WaitUntil([&] { return dialog.m_nOk.load() == 1; }, 5000));
    ASSERT_TRUE(driver.TypeKey(VK_ESCAPE));
    EXPECT_TRUE(WaitUntil([&] { return dialog.m_bEnded.load(); }, 5000));
}

} // namespace
