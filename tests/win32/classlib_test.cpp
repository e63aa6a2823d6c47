#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/cbitmapbutton.h"
#include "classlib/cdialog.h"
#include "classlib/chtmlview.h"
#include "classlib/cwinapp.h"
#include "classlib/handles.h"
#include "res/resource.h"

// The class-library layer against the real window manager: message tables, the modal dialog and
// its show on idle, owner-drawn bitmap buttons, the HTML view's ownership rule, the profile and
// the worker's main window, the handle owners. The dialogs and bitmaps are the program's own
// resources.

namespace {
CWinApp g_app;

// A plain window class for windows the tests create; the library's hook routes its messages.
const char* ProbeClass() {
    static const bool bRegistered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &::DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WispfoldProbe";
        return RegisterClassA(&wc) != 0;
    }();
    return bRegistered ? "WispfoldProbe" : nullptr;
}

class CProbeBase : public CWnd {
public:
    std::vector<int> m_calls;

protected:
    void OnShared() { m_calls.push_back(1); }
    void OnBaseOnly() { m_calls.push_back(2); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeBase, CWnd)
ON_COMMAND(100, &CProbeBase::OnShared)
ON_COMMAND(101, &CProbeBase::OnBaseOnly)
END_MESSAGE_MAP()

class CProbeWnd : public CProbeBase {
public:
    BOOL Make() {
        return CreateEx(0, ProbeClass(), "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    }

    int m_nCreates = 0;
    std::vector<UINT> m_kinds;
    HBRUSH m_hbrReturned = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(0x1234));

protected:
    int OnCreate(LPCREATESTRUCTA lpCreateStruct) {
        ++m_nCreates;
        return CWnd::OnCreate(lpCreateStruct);
    }
    void OnDerivedShared() { m_calls.push_back(10); }
    void OnClicked() { m_calls.push_back(20); }
    HBRUSH OnCtlColor(CDC*, CWnd* pWnd, UINT nCtlColor) {
        m_kinds.push_back(nCtlColor);
        EXPECT_NE(pWnd, nullptr);
        return m_hbrReturned;
    }
    LRESULT OnApp(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CProbeBase)
ON_WM_CREATE()
ON_COMMAND(100, &CProbeWnd::OnDerivedShared)
ON_BN_CLICKED(102, &CProbeWnd::OnClicked)
ON_WM_CTLCOLOR()
ON_MESSAGE(WM_APP + 1, &CProbeWnd::OnApp)
END_MESSAGE_MAP()
} // namespace

TEST(MessageTable, DerivedRowsComeFirstAndTheBaseTableIsBehindThem) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.Make());
    EXPECT_EQ(wnd.m_nCreates, 1); // the object saw its window's WM_CREATE
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(101, 0));
    EXPECT_EQ(wnd.m_calls, (std::vector<int>{10, 2}));
    // A command row matches notification code 0 only.
    wnd.m_calls.clear();
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(102, BN_DOUBLECLICKED));
    EXPECT_TRUE(wnd.m_calls.empty());
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(102, BN_CLICKED));
    EXPECT_EQ(wnd.m_calls, (std::vector<int>{20}));
    EXPECT_EQ(wnd.SendMessage(WM_APP + 1, 40, 2), 42);
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST(MessageTable, OneControlColourRowServesEveryKind) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.Make());
    HDC hDC = GetDC(wnd.m_hWnd);
    for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORBTN})
        EXPECT_EQ(wnd.SendMessage(message, reinterpret_cast<WPARAM>(hDC),
                                  reinterpret_cast<LPARAM>(wnd.m_hWnd)),
                  reinterpret_cast<LRESULT>(wnd.m_hbrReturned));
    ReleaseDC(wnd.m_hWnd, hDC);
    EXPECT_EQ(wnd.m_kinds,
              (std::vector<UINT>{CTLCOLOR_DLG, CTLCOLOR_STATIC, CTLCOLOR_EDIT, CTLCOLOR_BTN}));
    wnd.DestroyWindow();
}

namespace {
// The About template, with a dialog that records what its position-change handler saw.
class CProbeDlg : public CDialog {
public:
    enum class Plan { EndInInit, PostOk, HideAndWait };
    explicit CProbeDlg(Plan plan) : CDialog(IDD_ABOUTBOX), m_plan(plan) {}

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_plan == Plan::EndInInit)
            EndDialog(IDCANCEL);
        else if (m_plan == Plan::PostOk)
            PostMessage(WM_COMMAND, IDOK);
        else
            SetTimer(m_hWnd, 1, 300, nullptr); // timers come only once the queue is empty
        return TRUE;
    }

    bool m_bShowRequested = false;
    bool m_bVisibleAtTimer = true;

protected:
    void OnWindowPosChanging(WINDOWPOS* lpwndpos) {
        Default();
        if (lpwndpos->flags & SWP_SHOWWINDOW)
            m_bShowRequested = true;
        if (m_plan == Plan::HideAndWait)
            lpwndpos->flags &= ~SWP_SHOWWINDOW;
    }
    LRESULT OnTimer(WPARAM, LPARAM) {
        KillTimer(m_hWnd, 1);
        m_bVisibleAtTimer = IsWindowVisible(m_hWnd) != 0;
        EndDialog(IDCANCEL);
        return 0;
    }

    DECLARE_MESSAGE_MAP()

private:
    Plan m_plan;
};

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
ON_WM_WINDOWPOSCHANGING()
ON_MESSAGE(WM_TIMER, &CProbeDlg::OnTimer)
END_MESSAGE_MAP()
} // namespace

TEST(ModalDialog, ReturnsTheEndCodeAndDestroysItsWindow) {
    CProbeDlg ended(CProbeDlg::Plan::EndInInit);
    EXPECT_EQ(ended.DoModal(), IDCANCEL);
    EXPECT_EQ(ended.m_hWnd, nullptr);
    CProbeDlg ok(CProbeDlg::Plan::PostOk);
    EXPECT_EQ(ok.DoModal(), IDOK);
    EXPECT_EQ(ok.m_hWnd, nullptr);
}

TEST(ModalDialog, TheShowOnIdlePassesThroughThePositionChangeVeto) {
    CProbeDlg dlg(CProbeDlg::Plan::HideAndWait);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.m_bShowRequested);
    EXPECT_FALSE(dlg.m_bVisibleAtTimer);
}

namespace {
class CButtonHost : public CDialog {
public:
    CButtonHost() : CDialog(IDD_WISPFOLD_DIALOG) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        RECT rcBefore{};
        GetWindowRect(m_button.m_hWnd, &rcBefore);
        m_bMissingRefused = !m_button.LoadBitmaps(IDB_YES_UP, 9999);
        m_bLoaded = m_button.LoadBitmaps(IDB_YES_UP, IDB_YES_DOWN) != FALSE;
        m_button.SizeToContent();
        GetWindowRect(m_button.m_hWnd, &m_rcAfter);
        m_bKeptPosition = rcBefore.left == m_rcAfter.left && rcBefore.top == m_rcAfter.top;
        EndDialog(IDCANCEL);
        return TRUE;
    }

    bool m_bMissingRefused = false;
    bool m_bLoaded = false;
    bool m_bKeptPosition = false;
    RECT m_rcAfter{};

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_BTN_YES, m_button); }

private:
    CBitmapButton m_button;
};
} // namespace

TEST(BitmapButton, TakesTheNormalImagesSizeAndKeepsItsPosition) {
    CButtonHost host;
    host.DoModal();
    EXPECT_TRUE(host.m_bMissingRefused);
    EXPECT_TRUE(host.m_bLoaded);
    EXPECT_TRUE(host.m_bKeptPosition);
    EXPECT_EQ(host.m_rcAfter.right - host.m_rcAfter.left, 134);
    EXPECT_EQ(host.m_rcAfter.bottom - host.m_rcAfter.top, 39);
}

namespace {
int g_nViewsDestroyed = 0;
class CCountedView : public CHtmlView {
public:
    ~CCountedView() override { ++g_nViewsDestroyed; }
};
} // namespace

TEST(HtmlView, AViewWithoutAWindowStaysWithItsMaker) {
    g_nViewsDestroyed = 0;
    auto pView = std::make_unique<CCountedView>();
    // A child window needs a parent: creation fails before any window exists.
    EXPECT_FALSE(pView->Create(WS_VISIBLE, RECT{0, 0, 50, 50}, nullptr, 1001));
    EXPECT_EQ(g_nViewsDestroyed, 0);
    pView.reset();
    EXPECT_EQ(g_nViewsDestroyed, 1);
}

TEST(HtmlView, ACreatedViewFreesItselfOnceWithItsWindow) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    CProbeWnd parent;
    ASSERT_TRUE(parent.Make());
    g_nViewsDestroyed = 0;
    auto* pView = new CCountedView;
    if (!pView->Create(WS_VISIBLE, RECT{0, 0, 50, 50}, &parent, 1001)) {
        // No browser control here: nothing was freed and the object is still ours.
        EXPECT_EQ(g_nViewsDestroyed, 0);
        delete pView;
        parent.DestroyWindow();
        OleUninitialize();
        GTEST_SKIP() << "the browser control cannot be created in this prefix";
    }
    const HWND hView = pView->m_hWnd;
    EXPECT_EQ(GetParent(hView), parent.m_hWnd);
    EXPECT_EQ(GetDlgCtrlID(hView), 1001);
    EXPECT_TRUE(GetWindowLongA(hView, GWL_STYLE) & WS_CHILD);
    parent.DestroyWindow(); // the children go with it
    EXPECT_FALSE(IsWindow(hView));
    EXPECT_EQ(g_nViewsDestroyed, 1);
    OleUninitialize();
}

namespace {
// Stands in for the browser control's in-place active object: records the keys offered to it.
struct CFakeActiveObject final : IOleInPlaceActiveObject {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRef; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_nRef; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG pMsg) override {
        m_keys.push_back(pMsg->wParam);
        return m_hrAnswer;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    HRESULT m_hrAnswer = S_OK;
    ULONG m_nRef = 1;
    std::vector<WPARAM> m_keys;
};

// The main dialog's template with a page view over its host. The view's site is handed the fake
// as the control's active object, as the control does when the user clicks into the page; then
// Enter goes into the view, Escape to the check box outside it, and IDOK ends a dialog still open.
struct CKeyHost : CDialog {
    CKeyHost() : CDialog(IDD_WISPFOLD_DIALOG) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        struct CKeyView : CHtmlView {
            using CHtmlView::m_browser;
        }* pView = new CKeyView;
        if (!pView->Create(WS_VISIBLE, RECT{0, 0, 99, 99}, GetDlgItem(IDC_BROWSER_HOST), 1001)) {
            delete pView;
            EndDialog(-1);
            return TRUE;
        }
        CComRef<IOleInPlaceFrame> pFrame;
        pView->m_browser.GetSite()->QueryInterface(IID_IOleInPlaceFrame,
                                                   reinterpret_cast<void**>(pFrame.Receive()));
        pFrame->SetActiveObject(&m_active, nullptr);
        ::PostMessageA(::GetWindow(pView->m_hWnd, GW_CHILD), WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageA(::GetDlgItem(m_hWnd, IDC_CHK_AUTOSTART), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessage(WM_COMMAND, IDOK);
        return TRUE;
    }

    CFakeActiveObject m_active;
};
} // namespace

TEST(HtmlView, AKeyInsideTheViewGoesToTheControlFirstAndOnlyWhatItLeavesToTheDialog) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    // S_OK: Enter is the page's, and the Escape outside the view ends the dialog.
    for (auto [hrAnswer, nResult] : {std::pair{S_OK, IDCANCEL}, std::pair{S_FALSE, IDOK}}) {
        CKeyHost host;
        host.m_active.m_hrAnswer = hrAnswer;
        EXPECT_EQ(host.DoModal(), nResult) << hrAnswer;
        EXPECT_EQ(host.m_active.m_keys, std::vector<WPARAM>{VK_RETURN}) << hrAnswer;
        EXPECT_EQ(host.m_active.m_nRef, 1u) << "the view left the active object held";
    }
    OleUninitialize();
}

namespace {
// A key of its own per run, removed afterwards.
class ProfileKey {
public:
    ProfileKey() : m_strKey("WispfoldTest" + std::to_string(GetCurrentProcessId())) {}
    ~ProfileKey() { RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_strKey).c_str()); }
    const char* Name() const { return m_strKey.c_str(); }
    std::string Section(const char* pszSection) const {
        return "Software\\" + m_strKey + "\\" + g_app.m_pszAppName + "\\" + pszSection;
    }

private:
    std::string m_strKey;
};
} // namespace

TEST(Profile, IntegersRoundTripAndAnythingElseReadsAsTheDefault) {
    g_app.InitApplication(GetModuleHandleA(nullptr));
    EXPECT_STREQ(g_app.m_pszAppName, "classlib_test"); // the executable's name
    ProfileKey key;
    g_app.SetRegistryKey(key.Name());
    EXPECT_EQ(g_app.GetProfileInt("AppSeting", "StartAppDo", 7), 7u);
    HKEY hKey = nullptr;
    // Reading created nothing.
    EXPECT_NE(
        RegOpenKeyExA(HKEY_CURRENT_USER, key.Section("AppSeting").c_str(), 0, KEY_READ, &hKey),
        ERROR_SUCCESS);
    EXPECT_TRUE(g_app.WriteProfileInt("AppSeting", "StartAppDo", 1));
    EXPECT_EQ(g_app.GetProfileInt("AppSeting", "StartAppDo", 0), 1u);
    EXPECT_TRUE(g_app.WriteProfileInt("AppSeting", "StartAppDo", 0));
    EXPECT_EQ(g_app.GetProfileInt("AppSeting", "StartAppDo", 5), 0u);
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, key.Section("AppSeting").c_str(), 0, KEY_SET_VALUE, &hKey),
        ERROR_SUCCESS);
    RegSetValueExA(hKey, "StartAppDo", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegCloseKey(hKey);
    EXPECT_EQ(g_app.GetProfileInt("AppSeting", "StartAppDo", 3), 3u);
    g_app.TermApplication();
}

namespace {
struct WorkerView {
    HWND hMainSeen = nullptr;
    HANDLE hDone = nullptr;
};
UINT ReportMainWindow(LPVOID pParam) {
    auto* pView = static_cast<WorkerView*>(pParam);
    if (CWinThread* pThread = AfxGetThread())
        if (CWnd* pMain = pThread->GetMainWnd())
            pView->hMainSeen = pMain->m_hWnd;
    SetEvent(pView->hDone);
    return 0;
}
} // namespace

TEST(Threads, AWorkerTakesOverTheStartersMainWindow) {
    g_app.InitApplication(GetModuleHandleA(nullptr));
    CProbeWnd main;
    ASSERT_TRUE(main.Make());
    g_app.m_pMainWnd = &main;
    WorkerView view;
    view.hDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(AfxBeginThread(&ReportMainWindow, &view), nullptr);
    EXPECT_EQ(WaitForSingleObject(view.hDone, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(view.hMainSeen, main.m_hWnd);
    CloseHandle(view.hDone);
    main.DestroyWindow();
    // A main window that is gone is no main window any more.
    EXPECT_EQ(g_app.m_pMainWnd, nullptr);
    g_app.TermApplication();
}

namespace {
std::vector<int> g_closed;
void RecordClose(int h) {
    g_closed.push_back(h);
}
using CProbeHandle = CHandle<int, &RecordClose>;
} // namespace

TEST(Handles, EachHandleIsClosedOnceAndAMovedFromOwnerClosesNothing) {
    g_closed.clear();
    {
        CProbeHandle a(1);
        CProbeHandle b(std::move(a));
        EXPECT_FALSE(a);
        CProbeHandle c(2);
        c = std::move(b); // 2 goes, 1 is taken over
        EXPECT_EQ(g_closed, (std::vector<int>{2}));
        *c.Receive() = 3; // 1 goes before the slot is handed out
        c.Reset(4);
        EXPECT_EQ(g_closed, (std::vector<int>{2, 1, 3}));
    }
    EXPECT_EQ(g_closed, (std::vector<int>{2, 1, 3, 4}));
}
