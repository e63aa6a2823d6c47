#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/ccmdtarget.h"
#include "classlib/cmenu.h"

class CDC;

// A window object: one window handle, its messages routed through the message table chain,
// handlers' default processing going to the window's original procedure. An object becomes the
// window's own ("permanent") when it created or subclassed the window; until WM_NCDESTROY it then
// receives every message of that window.
class CWnd : public CCmdTarget {
public:
    ~CWnd() override;

    // The permanent object of a window, or nullptr (for windows of the calling thread).
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creation of a window by this object. No window, no PostNcDestroy: an object whose window
    // never came to exist stays with whoever made it.
    BOOL CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                  DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                  HMENU nIDorHMenu);
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    BOOL DestroyWindow();

    // Makes this object the window's own and routes its messages through this object.
    BOOL SubclassWindow(HWND hWnd);

    // The child with identifier nID: its permanent object, or a wrapper that this window keeps
    // until it is destroyed. nullptr when there is no such child.
    CWnd* GetDlgItem(int nID);
    void GetClientRect(LPRECT lpRect) const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsIconic() const;
    // Changes the extended style; the frame is left as it is.
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd);
    // The system menu, borrowed from the window; nullptr when it has none.
    CMenu* GetSystemMenu(BOOL bRevert);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // A message of the modal loop whose target is this window or a window inside it, before the
    // dialog manager sees it: true when this window has done it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to the objects of its target and of the target's parents, the nearest
    // first, up to hWndStop; true as soon as one of them has done it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    HWND m_hWnd = nullptr;

protected:
    // The message in progress on this thread, handed to the original window procedure.
    LRESULT Default();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A message the parent passes on to this control (owner drawing); true when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called after the window's last message; the object may delete itself here.
    virtual void PostNcDestroy() {}

    // The base handlers of derived tables' rows: default processing of the message.
    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL CallTableEntry(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* pResult);
    void OnNcDestroy();
    void Attach(HWND hWnd);
    void Detach();
    CWnd* WrapWindow(HWND hWnd);

    WNDPROC m_pfnSuper = nullptr;
    CMenu m_menuSystem;
    // Few: the controls the dialog asked for by identifier.
    std::vector<std::unique_ptr<CWnd>> m_wrappers;
};

// Window procedure of every permanent window object.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
