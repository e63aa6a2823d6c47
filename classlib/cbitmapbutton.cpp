#include "classlib/cbitmapbutton.h"

#include "classlib/cwinapp.h"

namespace {
CGdiHandle<HBITMAP> LoadImageResource(UINT nID) {
    return CGdiHandle<HBITMAP>(nID ? ::LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nID))
                                   : nullptr);
}
} // namespace

BOOL CBitmapButton::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel) {
    m_bitmap = LoadImageResource(nIDBitmapResource);
    m_bitmapSel = LoadImageResource(nIDBitmapResourceSel);
    return m_bitmap && (!nIDBitmapResourceSel || m_bitmapSel);
}

void CBitmapButton::SizeToContent() {
    BITMAP bm{};
    if (!m_bitmap || !::GetObjectA(m_bitmap.Get(), sizeof(bm), &bm))
        return;
    ::SetWindowPos(m_hWnd, nullptr, -1, -1, bm.bmWidth, bm.bmHeight,
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
    const HBITMAP hBitmap =
        (lpDIS->itemState & ODS_SELECTED) && m_bitmapSel ? m_bitmapSel.Get() : m_bitmap.Get();
    if (!hBitmap)
        return;
    const CMemoryDC source(::CreateCompatibleDC(lpDIS->hDC));
    const HGDIOBJ hOld = source ? ::SelectObject(source.Get(), hBitmap) : nullptr;
    if (!hOld)
        return;
    const RECT& rc = lpDIS->rcItem;
    ::BitBlt(lpDIS->hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, source.Get(), 0,
             0, SRCCOPY);
    // Put back out before the context is deleted, so the bitmap stays usable.
    ::SelectObject(source.Get(), hOld);
}
