#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "tests/e2e/harness/browser_windows.h"
#include "tests/e2e/harness/cookie_folder.h"
#include "tests/e2e/harness/dialog_driver.h"
#include "tests/e2e/harness/message_box.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/reg_value.h"
#include "tests/e2e/harness/window_scout.h"
#include "tests/e2e/harness/wispfold_process.h"

// The common ground of every end-to-end test: a clean cookie folder, profile and version answer
// before the run, the program started and its dialog found, and everything (process, windows,
// registry values, files) removed afterwards, also when an assertion failed half-way.
class CWispfoldFixture : public ::testing::Test {
protected:
    // Generous deadlines: Wine's first start of a program in a prefix is slow.
    static constexpr DWORD kStartTimeoutMs = 20000;
    static constexpr DWORD kBoxTimeoutMs = 10000;

    void SetUp() override;
    void TearDown() override;

    // Where the build put the program; set by the build, overridable through the environment
    // variable WISPFOLD_EXE.
    static std::string ProgramPath();

    // Makes Wine answer the program's version query with this name (winxp, vista, win7, ...).
    void SetVersion(const std::string& wineVersion);
    // Starts the program and waits until its main dialog exists (visible or not).
    ::testing::AssertionResult Launch(const std::string& wineVersion = "winxp");
    // Launch, then wait until the dialog is visible.
    ::testing::AssertionResult LaunchVisible(const std::string& wineVersion = "winxp");

    CWindowScout Scout() const { return CWindowScout(m_process.Pid()); }
    CDialogDriver& Dialog() { return *m_pDialog; }

    // The first visible message box of the program (a dialog-class window other than the main
    // dialog and the About box), or null.
    HWND FindMessageBox() const;
    HWND WaitForMessageBox(DWORD timeoutMs = kBoxTimeoutMs) const;
    HWND FindAboutBox() const;

    // Waits until the dialog is hidden; the time from `sinceMs` (an e2e::NowMs value) until it
    // was seen hidden, or -1 when it never was within timeoutMs.
    long long WaitHidden(ULONGLONG sinceMs, DWORD timeoutMs) const;
    // Whether the X server shows the dialog: its background colour at the top-left corner of
    // the client area, which is bare background.
    bool IsOnScreen() const;
    // After a hide of the dialog that was on the screen: until the X server has taken it off
    // the screen, and the program has read what the X server told it with that (the dialog
    // lost the focus). Under Wine the program reads the X server's reports only when its
    // message queue has run empty, so a message posted the instant the dialog is seen hidden
    // is handled before them: a tray menu it opens, with the hidden dialog made foreground for
    // it, is cancelled by the focus-out read next. A person's click never comes that soon.
    ::testing::AssertionResult WaitSettledAfterHide() const;
    // A left press on the notification icon, as the shell reports it; the popup menu once it
    // is open (visible), or null.
    HWND OpenTrayMenu() const;

    CWispfoldProcess m_process;
    CCookieFolder m_cookies;
    std::unique_ptr<CBrowserWindows> m_pBrowsers;
    CRegValue m_version{e2e::kVersionKey, "Version"};
    CRegValue m_startAppDo{e2e::kProfileSection, e2e::kStartAppDo};

private:
    std::unique_ptr<CDialogDriver> m_pDialog;
};
