#include "classlib/cwnd.h"

#include "classlib/cdc.h"
#include "classlib/cwinapp.h"
#include "classlib/cwndcreatehook.h"

namespace {
// The window property that names a window's permanent object.
const char kObjectProp[] = "WispfoldCWnd";

// The message being handled on this thread, for Default(); saved and restored around each
// message because handlers send messages of their own.
thread_local MSG t_msgCur{};
} // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    const MSG msgSaved = t_msgCur;
    t_msgCur = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's frames: the message counts as handled.
    }
    t_msgCur = msgSaved;
    return lResult;
}

CWnd::~CWnd() {
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return hWnd ? static_cast<CWnd*>(GetPropA(hWnd, kObjectProp)) : nullptr;
}

void CWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    SetPropA(hWnd, kObjectProp, this);
}

void CWnd::Detach() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // The original procedure goes back only while ours is still installed: a later subclass
        // would otherwise be cut out.
        if (m_pfnSuper &&
            reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc)
            SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        RemovePropA(m_hWnd, kObjectProp);
    }
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    m_wrappers.clear();
    m_menuSystem.m_hMenu = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    Attach(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&) {
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                    DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                    HMENU nIDorHMenu) {
    if (m_hWnd)
        return FALSE;
    CREATESTRUCTA cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    if (!PreCreateWindow(cs))
        return FALSE;
    HWND hWnd = nullptr;
    {
        CWndCreateHook hook(this);
        hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                                 static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    if (hWnd && m_hWnd != hWnd) {
        // The hook could not be set: a window nobody routes is of no use.
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
    // The object may be gone when this returns (PostNcDestroy): nothing touches it afterwards.
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

CWnd* CWnd::WrapWindow(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    for (const std::unique_ptr<CWnd>& pWrapper : m_wrappers)
        if (pWrapper->m_hWnd == hWnd)
            return pWrapper.get();
    CWnd* pWrapper = m_wrappers.emplace_back(std::make_unique<CWnd>()).get();
    pWrapper->m_hWnd = hWnd;
    return pWrapper;
}

CWnd* CWnd::GetDlgItem(int nID) {
    return WrapWindow(::GetDlgItem(m_hWnd, nID));
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd) {
    const DWORD dwStyle = static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_EXSTYLE));
    const DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    SetWindowLongA(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(dwNewStyle));
    return TRUE;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
    const HMENU hMenu = ::GetSystemMenu(m_hWnd, bRevert);
    if (!hMenu)
        return nullptr;
    m_menuSystem.m_hMenu = hMenu;
    return &m_menuSystem;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = hWnd == hWndStop ? nullptr : ::GetParent(hWnd))
        if (CWnd* pWnd = FromHandlePermanent(hWnd); pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
    return FALSE;
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_msgCur.message, t_msgCur.wParam, t_msgCur.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        OnNcDestroy();
        return 0;
    }
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

void CWnd::OnNcDestroy() {
    Default();
    // A thread's main window that is gone is no main window any more.
    if (CWinThread* pThread = AfxGetThread(); pThread && pThread->m_pMainWnd == this)
        pThread->m_pMainWnd = nullptr;
    Detach();
    PostNcDestroy();
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        *pResult = 0;
        return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
    }
    // Every control-colour kind shares one row; the kind travels as nCtlColor.
    const bool bCtlColor = message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    if (const AFX_MSGMAP_ENTRY* pEntry =
            FindMessageEntry(GetMessageMap(), bCtlColor ? WM_CTLCOLOR : message, 0, 0))
        return CallTableEntry(*pEntry, message, wParam, lParam, pResult);
    // Owner drawing belongs to the control: the parent passes WM_DRAWITEM on to its object.
    if (message == WM_DRAWITEM) {
        const auto* pDis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (pDis && pDis->CtlType != ODT_MENU)
            if (CWnd* pChild = FromHandlePermanent(pDis->hwndItem))
                return pChild->OnChildNotify(message, wParam, lParam, pResult);
    }
    return FALSE;
}

BOOL CWnd::CallTableEntry(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult) {
    *pResult = 0;
    switch (entry.nSig) {
    case AfxSig_v_v:
        (this->*entry.pfn.pfn_v_v)();
        return TRUE;
    case AfxSig_v_u_l:
        (this->*entry.pfn.pfn_v_u_l)(static_cast<UINT>(wParam), lParam);
        return TRUE;
    case AfxSig_h_v:
        *pResult = reinterpret_cast<LRESULT>((this->*entry.pfn.pfn_h_v)());
        return TRUE;
    case AfxSig_i_cs:
        *pResult = (this->*entry.pfn.pfn_i_cs)(reinterpret_cast<LPCREATESTRUCTA>(lParam));
        return TRUE;
    case AfxSig_l_w_l:
        *pResult = (this->*entry.pfn.pfn_l_w_l)(wParam, lParam);
        return TRUE;
    case AfxSig_hbr_ctl: {
        CDC dc(reinterpret_cast<HDC>(wParam));
        CWnd* pCtl = WrapWindow(reinterpret_cast<HWND>(lParam));
        *pResult = reinterpret_cast<LRESULT>(
            (this->*entry.pfn.pfn_hbr_ctl)(&dc, pCtl, message - WM_CTLCOLORMSGBOX));
        return TRUE;
    }
    case AfxSig_v_pwp:
        (this->*entry.pfn.pfn_v_pwp)(reinterpret_cast<WINDOWPOS*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

int CWnd::OnCreate(LPCREATESTRUCTA) {
    return static_cast<int>(Default());
}

void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnPaint() {
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}
