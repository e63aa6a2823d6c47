#include "tests/e2e/harness/screen_probe.h"

COLORREF CScreenProbe::PixelAt(POINT screenPoint) {
    HDC hdc = GetDC(nullptr);
    if (hdc == nullptr)
        return CLR_INVALID;
    const COLORREF colour = GetPixel(hdc, screenPoint.x, screenPoint.y);
    ReleaseDC(nullptr, hdc);
    return colour;
}

void CScreenProbe::Repaint(HWND hWnd) {
    RedrawWindow(hWnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
