#include "ui/wispfold_dlg.h"

#include <shellapi.h>

#include <memory>

#include "classlib/cdc.h"
#include "classlib/cfiledialog.h"
#include "classlib/cmenu.h"
#include "classlib/cwinapp.h"
#include "res/resource.h"
#include "settings/stored_check_box.h"
#include "settings/start_at_launch.h"
#include "settings/win32_settings_port.h"
#include "ui/about_dlg.h"
#include "ui/rink_browser.h"
#include "ui/wispfold_dlg_rules.h"

namespace {
// The page view's child identifier. It equals IDC_BTN_NO's number, which is harmless: the
// view's parent is the group box, not the dialog.
constexpr UINT kPageViewId = 1001;
// Red 251, green 225, blue 183.
constexpr COLORREF kBackColour = RGB(251, 225, 183);
// The icon's identifier: the program has one icon, so any fixed number serves.
constexpr UINT kTrayIconId = 1;
const char kTrayTip[] = "クッキーを監視";
// The host of the maker's pages that the side commands open (the list page has another).
const char kMakerPagesHost[] = "www.quenmarsh-mail.example";
const char kCookieFileFilter[] = "テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*||";
// Known only at run time; registered before any window exists.
const UINT s_uTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");

// The full record with the item GUID and the balloon icon; the shell reads cbSize to know it.
static_assert(sizeof(NOTIFYICONDATAA) == 508, "NOTIFYICONDATAA must be the 508-byte form");

// Vista keeps messages of programs with fewer rights from a program that runs with full rights
// (started by a setup run as administrator): the new taskbar's TaskbarCreated, and the WM_CLOSE
// by which a later setup or the uninstaller ends the program, would never arrive. Exactly these
// two are let through. Windows 2000 and XP have neither the isolation nor the call.
void AllowMessagesFromLowerIntegrity() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!::GetVersionExA(&version) || version.dwMajorVersion != 6 || version.dwMinorVersion != 0)
        return;
    const auto pfnAllow =
        reinterpret_cast<decltype(&::ChangeWindowMessageFilter)>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilter")));
    if (!pfnAllow)
        return;
    pfnAllow(s_uTaskbarCreated, MSGFLT_ADD);
    pfnAllow(WM_CLOSE, MSGFLT_ADD);
}
} // namespace

BEGIN_MESSAGE_MAP(CWispfoldDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_CLOSE()
ON_WM_CREATE()
ON_MESSAGE(WM_TRAYNOTIFY, &CWispfoldDlg::OnTrayNotify)
ON_WM_DESTROY()
ON_COMMAND(ID_TRAY_OPEN, &CWispfoldDlg::OnTrayOpen)
ON_COMMAND(ID_TRAY_EXIT, &CWispfoldDlg::OnTrayExit)
ON_WM_CTLCOLOR()
ON_BN_CLICKED(IDC_BTN_YES, &CWispfoldDlg::StartWatching)
ON_BN_CLICKED(IDC_BTN_NO, &CWispfoldDlg::StopWatching)
ON_BN_CLICKED(IDC_BTN_HELP, &CWispfoldDlg::OnHelpPage)
ON_BN_CLICKED(IDC_BTN_OPEN, &CWispfoldDlg::OnViewCookieFile)
ON_BN_CLICKED(IDC_BTN_SITES, &CWispfoldDlg::OnSitesPage)
ON_BN_CLICKED(IDC_BTN_NEWS, &CWispfoldDlg::OnNewsPage)
ON_WM_WINDOWPOSCHANGING()
ON_BN_CLICKED(IDC_CHK_AUTOSTART, &CWispfoldDlg::OnAutoStartClicked)
ON_BN_CLICKED(IDC_CHK_KEEPFAVORITES, &CWispfoldDlg::OnKeepFavouritesClicked)
ON_REGISTERED_MESSAGE(s_uTaskbarCreated, &CWispfoldDlg::OnTaskbarCreated)
ON_MESSAGE(WM_TIMER, &CWispfoldDlg::OnTimer)
END_MESSAGE_MAP()

CWispfoldDlg::CWispfoldDlg() : CDialog(IDD_WISPFOLD_DIALOG), CCookieSweeper(m_port), m_port(*this) {
    m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CWispfoldDlg::StartWatching() {
    CCookieSweeper::StartWatching();
}

void CWispfoldDlg::StopWatching() {
    CCookieSweeper::StopWatching();
}

void CWispfoldDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BTN_NEWS, m_btnNews);
    DDX_Control(pDX, IDC_BTN_SITES, m_btnSites);
    DDX_Control(pDX, IDC_BTN_OPEN, m_btnOpen);
    DDX_Control(pDX, IDC_BTN_YES, m_btnYes);
    DDX_Control(pDX, IDC_BTN_NO, m_btnNo);
    DDX_Control(pDX, IDC_BTN_HELP, m_btnHelp);
}

BOOL CWispfoldDlg::OnInitDialog() {
    // The sweep port's owner window and the start of its window walk.
    m_port.SetMainWindow(m_hWnd);
    CDialog::OnInitDialog();

    CreatePageView();

    // The template asks for a taskbar button; the dialog lives in the notification area instead.
    ModifyStyleEx(WS_EX_APPWINDOW, 0);

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        const CString strAboutMenu = AfxLoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_brBack.CreateSolidBrush(kBackColour);

    m_btnYes.LoadBitmaps(IDB_YES_UP, IDB_YES_DOWN);
    m_btnNo.LoadBitmaps(IDB_NO_UP, IDB_NO_DOWN);
    m_btnHelp.LoadBitmaps(IDB_HELP_UP, IDB_HELP_DOWN);
    m_btnSites.LoadBitmaps(IDB_SITES_UP, IDB_SITES_DOWN);
    m_btnOpen.LoadBitmaps(IDB_OPEN_UP, IDB_OPEN_DOWN);
    m_btnNews.LoadBitmaps(IDB_NEWS_UP, IDB_NEWS_DOWN);
    m_btnYes.SizeToContent();
    m_btnNo.SizeToContent();
    m_btnHelp.SizeToContent();
    m_btnSites.SizeToContent();
    m_btnOpen.SizeToContent();
    m_btnNews.SizeToContent();

    // A refusal has ended the dialog already (through the base-class cancel).
    if (!RunPlatformGate())
        return TRUE;

    // Before the watch can start, so that its first pass already follows the rule.
    CWin32SettingsPort keepPort(::GetDlgItem(m_hWnd, IDC_CHK_KEEPFAVORITES), nullptr);
    SetKeepFavourites(CStoredCheckBox(keepPort, kKeepFavouritesEntry).Apply());

    // A started watch hides the window before it was ever shown.
    CWin32SettingsPort settingsPort(::GetDlgItem(m_hWnd, IDC_CHK_AUTOSTART),
                                    [this] { StartWatching(); });
    CStartAtLaunch(settingsPort).Apply();
    return TRUE;
}

void CWispfoldDlg::CreatePageView() {
    CWnd* pHost = GetDlgItem(IDC_BROWSER_HOST);
    if (!pHost)
        return;
    RECT rcHost{};
    pHost->GetClientRect(&rcHost);
    auto pView = std::make_unique<CRinkBrowser>();
    // A view whose window could not be made never frees itself: it is freed here and the dialog
    // goes on without its page. Once created, the view belongs to its window.
    if (!pView->Create(WS_VISIBLE, rcHost, pHost, kPageViewId))
        return;
    m_pBrowser = pView.release();
    m_pBrowser->OnInitialUpdate();
}

void CWispfoldDlg::OnOK() {
    StartWatching();
}

void CWispfoldDlg::OnCancel() {
    g_bWatching.store(0);
    CDialog::OnCancel();
}

// The close box, or a setup or uninstaller asking the program to end: as Escape, also over the
// About box or the file dialog (the base-class cancel ends them first). A question of the watch
// belongs to the worker's thread: the dialog's destruction answers it.
void CWispfoldDlg::OnClose() {
    OnCancel();
}

void CWispfoldDlg::OnSysCommand(UINT nID, LPARAM) {
    if (IsAboutBoxCommand(nID)) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CWispfoldDlg::OnPaint() {
    // The window has no minimise box; only something outside the program can minimise it.
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT rect{};
    GetClientRect(&rect);
    const IconOrigin origin =
        CenteredIconOrigin(rect.right - rect.left, rect.bottom - rect.top,
                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    dc.DrawIcon(origin.x, origin.y, m_hIcon);
}

HCURSOR CWispfoldDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

int CWispfoldDlg::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
    if (CDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_hWnd;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_TRAYNOTIFY;
    // LoadIconA picks the image of the system's standard icon size from the icon group.
    nid.hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ::lstrcpynA(nid.szTip, kTrayTip, sizeof(nid.szTip));
    m_trayPort.SetRecord(nid);
    AllowMessagesFromLowerIntegrity();
    m_trayKeeper.Add();
    m_uTrayId = nid.uID;
    return 0;
}

// The shell passes the mouse message in lParam; the icon identifier in wParam is not needed.
LRESULT CWispfoldDlg::OnTrayNotify(WPARAM, LPARAM lParam) {
    if (static_cast<UINT>(lParam) == WM_LBUTTONDOWN)
        ShowTrayMenu();
    return 0;
}

LRESULT CWispfoldDlg::OnTaskbarCreated(WPARAM, LPARAM) {
    m_trayKeeper.Add();
    return 0;
}

LRESULT CWispfoldDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == CDialogTrayPort::kRetryTimer)
        m_trayKeeper.OnRetryTimer();
    return 0;
}

void CWispfoldDlg::ShowTrayMenu() {
    // A fresh menu per showing: nothing of it outlives this call.
    CMenu menu;
    if (!menu.LoadMenu(IDR_TRAYMENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    POINT pt{};
    ::GetCursorPos(&pt);
    // Without the foreground the menu would not close on a click elsewhere; this holds for the
    // hidden dialog as well.
    ::SetForegroundWindow(m_hWnd);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN, pt.x, pt.y, this);
    menu.DestroyMenu();
    // The task switch this forces keeps the next showing from closing at once (a known quirk
    // of menus opened from a notification icon).
    PostMessage(WM_NULL);
}

void CWispfoldDlg::OnDestroy() {
    // Every end of the dialog passes here while the window still exists, so no ghost icon is
    // left behind.
    m_trayPort.RemoveIcon();
    CDialog::OnDestroy();
    g_bWatching.store(0);
    // The worker must be finished before this object dies: its sleep is cut short, an open
    // question of it is answered "No", and the wait is bounded.
    EndWatchForShutdown();
}

void CWispfoldDlg::OnTrayOpen() {
    m_bShown = 1;
    ShowWindow(SW_SHOW);
}

// The base-class cancel: the watch flag stays until the window's destruction clears it.
void CWispfoldDlg::OnTrayExit() {
    CDialog::OnCancel();
}

HBRUSH CWispfoldDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    const HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_DLG)
        return m_brBack;
    // The question text, the check box and the group box: no opaque text background.
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        return m_brBack;
    }
    return hbr;
}

// The side commands of the four hidden buttons: only a WM_COMMAND from outside reaches them.
void CWispfoldDlg::OnHelpPage() {
    OpenMakerPage("/mail/");
}

void CWispfoldDlg::OnSitesPage() {
    OpenMakerPage("/TopCookie.php");
}

void CWispfoldDlg::OnNewsPage() {
    OpenMakerPage("/mail/UserRegister.php");
}

void CWispfoldDlg::OpenMakerPage(const char* pszPath) {
    const CString strAddress = CString("http://") + kMakerPagesHost + pszPath;
    // No verb: the address's default action, the user's browser. The result is not examined.
    ::ShellExecuteA(m_hWnd, nullptr, strAddress, nullptr, nullptr, SW_HIDE);
}

CString CWispfoldDlg::ChooseCookieFile() {
    CString strFileName;
    const CString strInitialName = m_strCookieDir + "*.txt";
    // No OFN_NOCHANGEDIR: the dialog leaves the current directory at the chosen file's folder,
    // which is how Notepad finds the file by its bare name.
    CFileDialog dlgFile(strInitialName, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kCookieFileFilter);
    if (dlgFile.DoModal() == IDOK)
        strFileName = dlgFile.GetFileName();
    return strFileName;
}

void CWispfoldDlg::OnViewCookieFile() {
    const CString strFileName = ChooseCookieFile();
    if (strFileName.IsEmpty())
        return;
    // The bare name, unquoted: Notepad runs in our current directory, the file's folder.
    ::ShellExecuteA(m_hWnd, "open", "notepad.exe", strFileName, nullptr, SW_SHOW);
}

void CWispfoldDlg::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    Default();
    // Every change of position, size, order or visibility makes the window's visibility agree
    // with the flag: with 1 it also shows the window, with 0 nothing can show it.
    if (m_bShown == 1)
        lpwndpos->flags |= SWP_SHOWWINDOW;
    else
        lpwndpos->flags &= ~SWP_SHOWWINDOW;
}

// The click only stores the box's state; the watch is not touched.
void CWispfoldDlg::OnAutoStartClicked() {
    CWin32SettingsPort settingsPort(::GetDlgItem(m_hWnd, IDC_CHK_AUTOSTART), nullptr);
    CStartAtLaunch(settingsPort).OnBoxClicked();
}

// Stored at once; a running watch follows the new state from its next pass on.
void CWispfoldDlg::OnKeepFavouritesClicked() {
    CWin32SettingsPort settingsPort(::GetDlgItem(m_hWnd, IDC_CHK_KEEPFAVORITES), nullptr);
    SetKeepFavourites(CStoredCheckBox(settingsPort, kKeepFavouritesEntry).OnBoxClicked());
}
