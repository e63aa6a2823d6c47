#pragma once

#include <windows.h>

#include "classlib/cbitmapbutton.h"
#include "classlib/cbrush.h"
#include "classlib/cdialog.h"
#include "sweep/cookie_sweeper.h"
#include "ui/dialog_sweep_port.h"
#include "ui/dialog_tray_port.h"
#include "ui/tray_icon_keeper.h"

class CRinkBrowser;

// The notification icon reports its mouse events to the main dialog with this message.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 600;

// The main dialog: the program's one window and the holder of the state the rest shares (the
// cookie folder and sweep mode of the sweeper it is, the show flag, the icon). Its window is
// visible only while m_bShown is 1.
class CWispfoldDlg : public CDialog, public CCookieSweeper {
public:
    CWispfoldDlg();

    // The sweeper's start and stop as the dialog's own operations, so that its message table
    // can name them.
    void StartWatching();
    void StopWatching();

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter: exactly what "はい" does; the dialog goes on.
    void OnOK() override;
    // Escape, the close box, Alt+F4: the watch stops, then the dialog ends.
    void OnCancel() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    // The close box, and a setup or uninstaller asking the program to end.
    void OnClose();
    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    void OnTrayOpen();
    void OnTrayExit();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnHelpPage();
    void OnViewCookieFile();
    void OnSitesPage();
    void OnNewsPage();
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    void OnAutoStartClicked();
    void OnKeepFavouritesClicked();
    // A new taskbar (Explorer restarted) knows no icons: ours is added again.
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    // The icon's retry timer: another add of an icon the shell refused.
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    friend class CDialogSweepPort;

    void CreatePageView();
    void ShowTrayMenu();
    // One page of the maker's site in the user's browser.
    void OpenMakerPage(const char* pszPath);
    // The bare name (no folder) of the cookie file the user picks, empty when cancelled.
    CString ChooseCookieFile();

    // First, so that it outlives everything else the dialog holds; the sweeper base keeps a
    // reference to it from construction on.
    CDialogSweepPort m_port;
    UINT m_uTrayId = 0;
    // Its icon is removed when the window is destroyed, so no icon outlives the program.
    CDialogTrayPort m_trayPort;
    CTrayIconKeeper m_trayKeeper{m_trayPort};
    CBitmapButton m_btnNews;
    CBitmapButton m_btnSites;
    CBitmapButton m_btnOpen;
    CBitmapButton m_btnYes;
    CBitmapButton m_btnNo;
    CBitmapButton m_btnHelp;
    CBrush m_brBack;
    BYTE m_bShown = 1;
    // Not owned: the view frees itself with its window. Not to be used after initialisation.
    CRinkBrowser* m_pBrowser = nullptr;
    // A shared icon: never destroyed.
    HICON m_hIcon = nullptr;
};
