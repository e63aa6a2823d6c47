#pragma once

#include <windows.h>

#include <initializer_list>

// Plays the user on an open popup menu ("#32768") of another process with the keyboard: the
// menu's own tracking loop reads the keys from its thread's queue.
class CPopupMenuDriver {
public:
    explicit CPopupMenuDriver(HWND hMenu) : m_hMenu(hMenu) {}

    HWND Window() const { return m_hMenu; }
    bool IsOpen() const { return IsWindow(m_hMenu) && IsWindowVisible(m_hMenu); }
    // Key-down/key-up pairs, in order; false when a key-down could not be posted (the menu has
    // gone), or a key-up while the menu is still there.
    bool Press(std::initializer_list<WORD> keys) const;
    // Item n (from 0): VK_DOWN n+1 times (the first press selects the first item), then Enter.
    bool Pick(int nItem) const;
    bool Dismiss() const { return Press({VK_ESCAPE}); }

private:
    HWND m_hMenu;
};
