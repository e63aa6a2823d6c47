#include "classlib/chtmlview.h"

#include "classlib/cwinapp.h"

namespace {
// The view's window class: a plain child under the control; the class library's hook routes
// its messages, so DefWindowProcA is only the procedure the window starts with.
const char* ViewClassName() {
    static const char kClassName[] = "WispfoldHtmlView";
    static const bool bRegistered = [] {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        return ::RegisterClassA(&wc) != 0;
    }();
    return bRegistered ? kClassName : nullptr;
}
} // namespace

BEGIN_MESSAGE_MAP(CHtmlView, CWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CHtmlView::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = ViewClassName();
    return cs.lpszClass != nullptr && CWnd::PreCreateWindow(cs);
}

BOOL CHtmlView::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (m_bOwnedByWindow || !CreateEx(0, nullptr, nullptr, dwStyle | WS_CHILD, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top,
                                      pParentWnd ? pParentWnd->m_hWnd : nullptr,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    RECT rcClient{};
    GetClientRect(&rcClient);
    if (!m_browser.Create(m_hWnd, rcClient)) {
        // Not yet owned by its window: destroying the window leaves the object to the caller.
        DestroyWindow();
        return FALSE;
    }
    m_bOwnedByWindow = true;
    return TRUE;
}

void CHtmlView::OnInitialUpdate() {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CHtmlView::Navigate2(const char* lpszURL) {
    m_browser.Navigate2(lpszURL);
}

BOOL CHtmlView::PreTranslateMessage(MSG* pMsg) {
    // Tab and the arrows among the page's links, Enter on a link, Backspace, Ctrl+C: the page's,
    // once the user has clicked into it. The dialog would make Enter its OK and Escape its end.
    return pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
           m_browser.TranslateAccelerator(pMsg) == S_OK;
}

void CHtmlView::OnDestroy() {
    // The control is taken down while its window still exists.
    m_browser.Destroy();
    CWnd::OnDestroy();
}

void CHtmlView::PostNcDestroy() {
    if (m_bOwnedByWindow)
        delete this;
}
