#include "classlib/cbitmapbutton.h"

#include "classlib/cwinapp.h"

namespace {
CGdiHandle<HBITMAP> LoadImageResource(UINT nID) {
    return CGdiHandle<HBITMAP>(nID ? ::LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nID))
                                   : nullptr);
}

// A memory context with one bitmap selected into it; the bitmap is put back out before the
// context is deleted, so the bitmap stays usable.
class CBitmapContext {
public:
    CBitmapContext(HDC hDCTarget, HBITMAP hBitmap) : m_hDC(::CreateCompatibleDC(hDCTarget)) {
        if (m_hDC)
            m_hOld = ::SelectObject(m_hDC, hBitmap);
    }
    CBitmapContext(const CBitmapContext&) = delete;
    CBitmapContext& operator=(const CBitmapContext&) = delete;
    ~CBitmapContext() {
        if (!m_hDC)
            return;
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
        ::DeleteDC(m_hDC);
    }
    HDC Get() const { return m_hOld ? m_hDC : nullptr; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld = nullptr;
};
} // namespace

BOOL CBitmapButton::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel,
                                UINT nIDBitmapResourceFocus, UINT nIDBitmapResourceDisabled) {
    m_bitmap = LoadImageResource(nIDBitmapResource);
    m_bitmapSel = LoadImageResource(nIDBitmapResourceSel);
    m_bitmapFocus = LoadImageResource(nIDBitmapResourceFocus);
    m_bitmapDisabled = LoadImageResource(nIDBitmapResourceDisabled);
    return m_bitmap.Get() && (!nIDBitmapResourceSel || m_bitmapSel.Get()) &&
           (!nIDBitmapResourceFocus || m_bitmapFocus.Get()) &&
           (!nIDBitmapResourceDisabled || m_bitmapDisabled.Get());
}

void CBitmapButton::SizeToContent() {
    BITMAP bm{};
    if (!m_bitmap.Get() || !::GetObjectA(m_bitmap.Get(), sizeof(bm), &bm))
        return;
    SetWindowPos(nullptr, -1, -1, bm.bmWidth, bm.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

BOOL CBitmapButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    *pResult = TRUE;
    return TRUE;
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT* lpDIS) {
    HBITMAP hBitmap = m_bitmap.Get();
    const UINT nState = lpDIS->itemState;
    if ((nState & ODS_SELECTED) && m_bitmapSel.Get())
        hBitmap = m_bitmapSel.Get();
    else if ((nState & ODS_FOCUS) && m_bitmapFocus.Get())
        hBitmap = m_bitmapFocus.Get();
    else if ((nState & ODS_DISABLED) && m_bitmapDisabled.Get())
        hBitmap = m_bitmapDisabled.Get();
    if (!hBitmap)
        return;
    const CBitmapContext source(lpDIS->hDC, hBitmap);
    if (!source.Get())
        return;
    const RECT& rc = lpDIS->rcItem;
    ::BitBlt(lpDIS->hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, source.Get(), 0,
             0, SRCCOPY);
}
