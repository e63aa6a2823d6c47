#pragma once

#include <windows.h>

#include "classlib/browser_site.h"
#include "classlib/cwnd.h"

// A child window that shows a web page through the system's browser control. Like every view,
// the object lives on the heap and deletes itself after its window is destroyed.
//
// Create's contract: TRUE means the view window and its browser control exist, and from then on
// the object belongs to its window (it deletes itself after WM_NCDESTROY; nobody else may).
// FALSE means neither is left: no window exists, the object has not deleted itself, and whoever
// made it still owns it and must delete it.
class CHtmlView : public CWnd {
public:
    // The window is always a child (WS_CHILD is added) of pParentWnd, of the view's own class and
    // without a title, at rect in the parent's client coordinates, with the child identifier nID.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The first display of the view: redraws it. A derived view starts its navigation here.
    virtual void OnInitialUpdate();
    // An ordinary request of the address (flags 0, no target frame, no extra headers, no post
    // data); returns at once, the page loads while the message loop runs.
    void Navigate2(const char* lpszURL);
    // A key inside the view goes to the browser control first; only what the control leaves
    // (S_FALSE) reaches the dialog manager.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void OnDestroy();
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()

    // The browser control's host: a derived view reaches the control through it.
    CBrowserSite m_browser;

private:
    // Set once Create succeeded: only then does the window's end delete the object.
    bool m_bOwnedByWindow = false;
};
