#pragma once

#include <windows.h>

#include "classlib/cwnd.h"
#include "classlib/handles.h"

// An owner-drawn button that paints itself from bitmaps: the selected image while it is pressed
// (when one was loaded), otherwise the normal image. Its parent passes WM_DRAWITEM on to it.
class CBitmapButton : public CWnd {
public:
    // Loads the images from the program's resources (0 for no selected image); false when the
    // normal image, or a selected image asked for, is missing.
    BOOL LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel = 0);
    // Gives the button the normal image's pixel size, keeping its position.
    void SizeToContent();

protected:
    virtual void DrawItem(const DRAWITEMSTRUCT* lpDIS);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    CGdiHandle<HBITMAP> m_bitmap;
    CGdiHandle<HBITMAP> m_bitmapSel;
};
