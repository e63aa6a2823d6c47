#pragma once

#include <windows.h>

#include "classlib/cgdihandle.h"
#include "classlib/cwnd.h"

// An owner-drawn button that paints itself from bitmaps: the selected image while it is pressed,
// the focus or disabled image in those states when one was loaded, otherwise the normal image.
// Its parent passes WM_DRAWITEM on to it.
class CBitmapButton : public CWnd {
public:
    CBitmapButton() = default;

    // Loads the images from the program's resources (0 for none); false when the normal image,
    // or any other image asked for, is missing.
    BOOL LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel = 0,
                     UINT nIDBitmapResourceFocus = 0, UINT nIDBitmapResourceDisabled = 0);
    // Gives the button the normal image's pixel size, keeping its position.
    void SizeToContent();

protected:
    virtual void DrawItem(const DRAWITEMSTRUCT* lpDIS);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    CGdiHandle<HBITMAP> m_bitmap;
    CGdiHandle<HBITMAP> m_bitmapSel;
    CGdiHandle<HBITMAP> m_bitmapFocus;
    CGdiHandle<HBITMAP> m_bitmapDisabled;
};
