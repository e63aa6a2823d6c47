#include "classlib/browser_site.h"

#include <new>

namespace {

// Site objects alive in the process (see GetLiveSiteCount).
LONG g_nLiveSites = 0;

} // namespace

// The container side the control talks to: client site, in-place site and frame in one object.
// It keeps its own copy of the parent window and rectangle and no pointer back to the
// CBrowserSite, so a control that holds on to it a little longer never reaches a dead owner.
class CBrowserSite::CSite final : public IOleClientSite,
                                  public IOleInPlaceSite,
                                  public IOleInPlaceFrame {
public:
    CSite(HWND hParent, const RECT& rc) : m_hParent(hParent), m_rc(rc) {
        InterlockedIncrement(&g_nLiveSites);
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
            *ppv = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite))
            *ppv = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) ||
                 IsEqualIID(riid, IID_IOleInPlaceFrame))
            *ppv = static_cast<IOleInPlaceFrame*>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_nRef); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG nRef = InterlockedDecrement(&m_nRef);
        if (nRef == 0)
            delete this;
        return nRef;
    }

    // IOleClientSite: there is no document to save and no container to enumerate.
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override {
        if (ppmk)
            *ppmk = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) override {
        if (ppContainer)
            *ppContainer = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, shared by the in-place site and the frame: both are the parent window.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phWnd) override {
        if (!phWnd)
            return E_POINTER;
        *phWnd = m_hParent;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    // The control hands over its active object through the frame's SetActiveObject right after.
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame,
                                               IOleInPlaceUIWindow** ppDoc, LPRECT prcPos,
                                               LPRECT prcClip,
                                               LPOLEINPLACEFRAMEINFO pFrameInfo) override {
        if (!ppFrame || !ppDoc || !prcPos || !prcClip || !pFrameInfo)
            return E_POINTER;
        // No separate document window: a null one tells the control to use the frame.
        *ppFrame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *ppDoc = nullptr;
        *prcPos = m_rc;
        *prcClip = m_rc;
        // The control fills in cb itself; the rest says: no MDI, no menu, no accelerators.
        pFrameInfo->fMDIApp = FALSE;
        pFrameInfo->hwndFrame = m_hParent;
        pFrameInfo->haccel = nullptr;
        pFrameInfo->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override {
        SetActive(nullptr);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    // The view is never moved or resized, so the control keeps the rectangle it was given.
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow: no toolbars, so no border space to offer.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
        return INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override {
        return INPLACE_E_NOTOOLSPACE;
    }
    // The control's active object while it is UI-active; null when it deactivates.
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* pActive,
                                              LPCOLESTR) override {
        SetActive(pActive);
        return S_OK;
    }

    // IOleInPlaceFrame: no menu to merge, no status bar, no accelerators of ours.
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    void SetActive(IOleInPlaceActiveObject* pActive) {
        if (pActive)
            pActive->AddRef();
        m_pActive.Reset(pActive);
    }
    HRESULT OfferKey(MSG* pMsg) {
        IOleInPlaceActiveObject* pActive = m_pActive.Get();
        if (!pActive)
            return S_FALSE;
        // The control may deactivate, and the site let go of it, inside the call.
        pActive->AddRef();
        const HRESULT hr = pActive->TranslateAccelerator(pMsg);
        pActive->Release();
        return hr;
    }

private:
    ~CSite() { InterlockedDecrement(&g_nLiveSites); }

    LONG m_nRef = 1;
    HWND m_hParent;
    RECT m_rc;
    // Holds the control alive: the site lets go when the control deactivates or is destroyed.
    CComRef<IOleInPlaceActiveObject> m_pActive;
};

bool CBrowserSite::Create(HWND hParent, const RECT& rc) {
    if (m_pObject || !IsWindow(hParent))
        return false;
    // No exception may leave here: the caller is usually inside a window procedure.
    CSite* pSite = new (std::nothrow) CSite(hParent, rc);
    if (!pSite)
        return false;
    m_pSite.Reset(pSite);
    m_hParent = hParent;

    bool bOk = false;
    do {
        if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(m_pObject.Receive()))))
            break;
        // The control creates its window as a child of the site's window as soon as it has a
        // site, so the site goes in first, then in-place activation places that window at rc.
        if (FAILED(m_pObject->SetClientSite(m_pSite.Get())))
            break;
        RECT rcPos = rc;
        if (FAILED(m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_pSite.Get(), 0, hParent,
                                     &rcPos)))
            break;
        if (FAILED(m_pObject->QueryInterface(IID_IOleInPlaceObject,
                                             reinterpret_cast<void**>(m_pInPlace.Receive()))))
            break;
        HWND hWndControl = nullptr;
        if (FAILED(m_pInPlace->GetWindow(&hWndControl)) || !hWndControl)
            break;
        m_hWndControl = hWndControl;
        if (FAILED(m_pObject->QueryInterface(IID_IWebBrowser2,
                                             reinterpret_cast<void**>(m_pBrowser.Receive()))))
            break;
        // The page is the program's decoration, not the user's browsing: an unreachable host or
        // a script error must never raise a dialog over ours. Silent mode suppresses them; a
        // control that does not know it just refuses, which changes nothing, so the result is
        // not examined.
        m_pBrowser->put_Silent(VARIANT_TRUE);
        bOk = true;
    } while (false);

    if (!bOk)
        Destroy();
    return bOk;
}

bool CBrowserSite::Navigate2(const char* pszUrl) {
    if (!m_pBrowser || !pszUrl)
        return false;
    int nChars = MultiByteToWideChar(CP_ACP, 0, pszUrl, -1, nullptr, 0);
    if (nChars <= 0)
        return false;
    BSTR bstrUrl = SysAllocStringLen(nullptr, nChars - 1);
    if (!bstrUrl)
        return false;
    MultiByteToWideChar(CP_ACP, 0, pszUrl, -1, bstrUrl, nChars);

    VARIANT vUrl;
    VariantInit(&vUrl);
    V_VT(&vUrl) = VT_BSTR;
    V_BSTR(&vUrl) = bstrUrl;
    VARIANT vFlags;
    VariantInit(&vFlags);
    V_VT(&vFlags) = VT_I4;
    V_I4(&vFlags) = 0;
    // Empty: no target frame (the view itself), no post data (a GET), no headers.
    VARIANT vEmpty;
    VariantInit(&vEmpty);

    HRESULT hr = m_pBrowser->Navigate2(&vUrl, &vFlags, &vEmpty, &vEmpty, &vEmpty);
    VariantClear(&vUrl);
    return SUCCEEDED(hr);
}

void CBrowserSite::Destroy() {
    // Deactivate before closing so the control gives up its in-place window and frame
    // references while the site can still answer; then cut the control off from the site,
    // which breaks the reference cycle between the two.
    if (m_pInPlace)
        m_pInPlace->InPlaceDeactivate();
    // A control that never said it deactivated would otherwise stay held by its own site.
    if (m_pSite)
        static_cast<CSite*>(m_pSite.Get())->SetActive(nullptr);
    if (m_pObject) {
        m_pObject->Close(OLECLOSE_NOSAVE);
        m_pObject->SetClientSite(nullptr);
    }
    m_pBrowser.Reset();
    m_pInPlace.Reset();
    m_pObject.Reset();
    m_pSite.Reset();
    m_hWndControl = nullptr;
    m_hParent = nullptr;
}

HRESULT CBrowserSite::TranslateAccelerator(MSG* pMsg) {
    return m_pSite ? static_cast<CSite*>(m_pSite.Get())->OfferKey(pMsg) : S_FALSE;
}

long CBrowserSite::GetLiveSiteCount() {
    return InterlockedCompareExchange(&g_nLiveSites, 0, 0);
}
