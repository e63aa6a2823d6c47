#pragma once

#include <windows.h>

// Reads what the screen shows: the colour of one pixel, from the desktop's device context, so
// it sees another process's window as the user would.
class CScreenProbe {
public:
    // The colour at a screen point, or CLR_INVALID when it cannot be read.
    static COLORREF PixelAt(POINT screenPoint);
    // Asks a window (of any process) to repaint itself and its children now.
    static void Repaint(HWND hWnd);
};
