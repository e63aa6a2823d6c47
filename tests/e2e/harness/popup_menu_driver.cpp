#include "tests/e2e/harness/popup_menu_driver.h"

bool CPopupMenuDriver::Press(std::initializer_list<WORD> keys) const {
    for (WORD vk : keys) {
        const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
        const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
        const LPARAM up = down | (1L << 30) | (1L << 31);
        // Posted to the menu window: the menu loop peeks its thread's whole queue, so the keys
        // reach it as if typed while the menu had the keyboard.
        if (!PostMessageA(m_hMenu, WM_KEYDOWN, vk, down))
            return false;
        // The menu acts on the key-down: Enter and Escape end it, and its window can be gone
        // before the key-up is posted (a test thread that loses the processor in between).
        // That key-up has nothing left to reach; any other failed post is a failure.
        if (!PostMessageA(m_hMenu, WM_KEYUP, vk, up) && IsWindow(m_hMenu))
            return false;
    }
    return true;
}

bool CPopupMenuDriver::Pick(int nItem) const {
    for (int i = 0; i <= nItem; ++i)
        if (!Press({VK_DOWN}))
            return false;
    return Press({VK_RETURN});
}
