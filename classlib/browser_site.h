#pragma once

#include <windows.h>
#include <exdisp.h>
#include <oleidl.h>

#include "classlib/handles.h"

// Hosts the system's web browser control inside a window, in plain Win32 and COM: the piece
// under the HTML view that creates the control, places it, navigates it and tears it down.
//
// Use, on a thread where OleInitialize has been called:
//     CBrowserSite site;
//     if (site.Create(hWndView, rcClient)) site.Navigate2("http://host/page");
//     ...
//     site.Destroy(); // or let the destructor do it
//
// The control's window is created as a child of the given parent, filling the given rectangle.
// The site raises no events and the program reacts to none; the control is kept silent, so it
// never shows a dialog or a script-error box of its own. While the control is active for the
// user (the user clicked into the page), the site keeps the in-place active object the control
// hands it, so that the host's message loop can offer it the keys meant for the page.
class CBrowserSite {
public:
    CBrowserSite() = default;
    ~CBrowserSite() { Destroy(); }
    CBrowserSite(const CBrowserSite&) = delete;
    CBrowserSite& operator=(const CBrowserSite&) = delete;

    // Creates the control in place inside hParent at rc (hParent's client coordinates).
    // Returns false, with nothing left behind (no window, no COM reference), when the control
    // cannot be created or activated, when hParent is no window, or when the site already holds
    // a control.
    bool Create(HWND hParent, const RECT& rc);

    // Starts an ordinary request of the address (flags 0, no target frame, no post data, no
    // extra headers) and returns at once; the page loads while the caller's message loop runs.
    // The address is in the system's ANSI code page. False when there is no control or the
    // control refuses the request.
    bool Navigate2(const char* pszUrl);

    // Deactivates and closes the control, detaches it from the site and releases everything.
    // Safe to call again, after a failed Create, and after the parent window is gone.
    void Destroy();

    // The control's own window (a descendant of the parent), or nullptr without a control.
    HWND GetWindow() const { return m_hWndControl; }
    // The container side the control talks to (client site, in-place site and frame; borrowed),
    // or nullptr without a control.
    IOleClientSite* GetSite() const { return m_pSite.Get(); }

    // Offers a key message to the control's active object: S_OK when the control acted on it
    // (the message is done), anything else when the caller goes on with it. S_FALSE while the
    // control holds no active object.
    HRESULT TranslateAccelerator(MSG* pMsg);

    // Number of site objects still alive in the process. The control holds its site for as
    // long as it lives, so this falling back to zero shows that Destroy broke every reference
    // between the two.
    static long GetLiveSiteCount();

private:
    class CSite;

    CComRef<IOleClientSite> m_pSite;
    CComRef<IOleObject> m_pObject;
    CComRef<IOleInPlaceObject> m_pInPlace;
    CComRef<IWebBrowser2> m_pBrowser;
    HWND m_hParent = nullptr;
    HWND m_hWndControl = nullptr;
};
