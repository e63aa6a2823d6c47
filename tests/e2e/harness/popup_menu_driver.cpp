#include "tests/e2e/harness/popup_menu_driver.h"

bool CPopupMenuDriver::Press(std::initializer_list<WORD> keys) const {
    for (WORD vk : keys) {
        const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
        const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
        const LPARAM up = down | (1L << 30) | (1L << 31);
        // Posted to the menu window: the menu loop peeks its thread's whole queue, so the keys
        // reach it as if typed while the menu had the keyboard.
        if (!PostMessageA(m_hMenu, WM_KEYDOWN, vk, down) ||
            !PostMessageA(m_hMenu, WM_KEYUP, vk, up))
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
