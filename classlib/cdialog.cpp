#include "classlib/cdialog.h"

#include <cstring>
#include <iterator>
#include <utility>

#include "classlib/cwinapp.h"
#include "classlib/cwndcreatehook.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    // Every other message has been through the object's own table already (the window is
    // subclassed); the dialog procedure only brings WM_INITDIALOG to OnInitDialog.
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pDlg = static_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (!pDlg)
        return TRUE;
    try {
        return pDlg->OnInitDialog();
    } catch (...) {
        return TRUE;
    }
}

HWND CDialog::FindOwner() const {
    HWND hWnd = nullptr;
    if (CWinThread* pThread = AfxGetThread())
        if (CWnd* pMain = pThread->GetMainWnd(); pMain && pMain != this)
            hWnd = pMain->m_hWnd;
    // A popup cannot be owned by a child window: its top-level window owns it.
    while (hWnd && (GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return hWnd;
}

INT_PTR CDialog::DoModal() {
    const HINSTANCE hInstance = AfxGetInstanceHandle();
    const HRSRC hResource = FindResourceA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate), RT_DIALOG);
    const HGLOBAL hData = hResource ? LoadResource(hInstance, hResource) : nullptr;
    const auto* pTemplate = hData ? static_cast<const DLGTEMPLATE*>(LockResource(hData)) : nullptr;
    if (!pTemplate || m_hWnd)
        return -1;

    const HWND hWndOwner = FindOwner();
    // The owner takes no input while the dialog runs.
    const bool bEnableOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, FALSE);

    m_nModalResult = -1;
    m_bContinueModal = true;
    HWND hWnd = nullptr;
    {
        CWndCreateHook hook(this);
        hWnd = CreateDialogIndirectParamA(hInstance, pTemplate, hWndOwner, &DialogProc, 0);
    }
    if (hWnd && m_hWnd == hWnd) {
        // OnInitDialog may have ended the dialog already: then there is no loop to run.
        if (m_bContinueModal)
            RunModalLoop();
        // Hidden before the owner is enabled again, so that the owner becomes active.
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE |
                               SWP_NOZORDER);
    } else if (hWnd) {
        ::DestroyWindow(hWnd);
    }
    m_bContinueModal = false;

    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::RunModalLoop() {
    // The class library shows a dialog that is still hidden once its queue first runs empty;
    // that show request passes through WM_WINDOWPOSCHANGING like any other.
    bool bShowIdle = !(GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE);
    MSG msg;
    while (m_bContinueModal && m_hWnd) {
        if (bShowIdle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            bShowIdle = false;
            ShowWindow(SW_SHOWNORMAL);
            ::UpdateWindow(m_hWnd);
            continue;
        }
        const BOOL bGot = GetMessageA(&msg, nullptr, 0, 0);
        if (bGot == 0) {
            // WM_QUIT belongs to an outer loop: hand it on and stop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (bGot == -1)
            break;
        // A system timer or a system key would show the dialog before the queue empties.
        if (bShowIdle && (msg.message == 0x0118 || msg.message == WM_SYSKEYDOWN)) {
            bShowIdle = false;
            ShowWindow(SW_SHOWNORMAL);
            ::UpdateWindow(m_hWnd);
        }
        // A window inside the dialog may take the message first (the page view its keys).
        if (CWnd::WalkPreTranslateTree(m_hWnd, &msg))
            continue;
        // The dialog manager's keys: Enter gives IDOK, Escape IDCANCEL, Tab moves the focus.
        if (!IsDialogMessageA(m_hWnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    // The posted empty message wakes the loop so that it sees the end at once.
    if (std::exchange(m_bContinueModal, false))
        PostMessage(WM_NULL);
    ::EndDialog(m_hWnd, nResult);
}

namespace {

// Modal windows stack a few deep at most (a dialog, a message box of it).
struct CModalSearch {
    HWND hWndOwner;
    HWND found[16];
    size_t nFound;
};

// A shown dialog box owned, directly or through another, by the search's window.
BOOL CALLBACK CollectModalWindow(HWND hWnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<CModalSearch*>(lParam);
    char szClass[16] = {};
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (hWnd == search.hWndOwner || !::IsWindowVisible(hWnd) || std::strcmp(szClass, "#32770"))
        return TRUE;
    for (HWND hOwner = ::GetWindow(hWnd, GW_OWNER); hOwner; hOwner = ::GetWindow(hOwner, GW_OWNER))
        if (hOwner == search.hWndOwner) {
            search.found[search.nFound++] = hWnd;
            break;
        }
    return search.nFound < std::size(search.found);
}

} // namespace

void CDialog::EndModalWindowsAbove() {
    // A popup menu's loop (the tray menu) would otherwise wait for a click.
    ::EndMenu();
    // Only this thread's windows: another thread's message box (the watch's question) has its
    // own way to end. Collected first, ended after: nothing changes under the enumeration.
    CModalSearch search{m_hWnd, {}, 0};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectModalWindow,
                        reinterpret_cast<LPARAM>(&search));
    for (size_t i = 0; i < search.nFound; ++i) {
        const HWND hWnd = search.found[i];
        if (!::IsWindow(hWnd))
            continue;
        // One of ours (the About box), or the system's with a Cancel button (the file dialog):
        // its own cancel ends its loop. The file dialog must not be ended any other way: it
        // ends itself with TRUE or FALSE, so EndDialog's IDCANCEL would read as a file chosen.
        // A message box without one (Yes/No) ignores the cancel command, but EndDialog ends any
        // dialog box's loop, and its caller sees IDCANCEL, as after a cancel.
        if (CWnd::FromHandlePermanent(hWnd) || ::GetDlgItem(hWnd, IDCANCEL))
            ::SendMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
        else
            ::EndDialog(hWnd, IDCANCEL);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (!rControl.m_hWnd)
        rControl.SubclassWindow(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}

BOOL CDialog::OnInitDialog() {
    CDataExchange dx{this};
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::OnOK() {
    CDataExchange dx{this};
    DoDataExchange(&dx);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    // Every way of ending the dialog ends it from every state: a modal window of this thread
    // above it (a box it opened, the file dialog, a menu) would keep its loop, and the program,
    // waiting for the user.
    EndModalWindowsAbove();
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, UINT nCode) {
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    // Application commands (not control notifications, not system commands) get a last chance
    // at the thread's object; that is how ID_HELP reaches the application.
    if (nCode != 0 || !(nID & 0x8000) || nID >= 0xF000)
        return FALSE;
    CWinThread* pThread = AfxGetThread();
    return pThread && pThread->OnCmdMsg(nID, nCode);
}
