#pragma once

#include <windows.h>

#include <vector>
#include <memory>

#include "classlib/handles.h"

class CWnd;

// A menu: owns the menus it loads (destroyed with the object), borrows the ones the system or a
// parent menu owns (the system menu, a popup of a loaded menu).
class CMenu {
public:
    CMenu() = default;
    // A borrowed view of a menu that somebody else destroys.
    explicit CMenu(HMENU hBorrowed) : m_hMenu(hBorrowed) {}
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT nIDResource);
    // Destroys an owned menu (and its popups) now; a borrowed one is only let go.
    BOOL DestroyMenu();
    // The popup at nPos, borrowed from this menu: valid as long as this menu is.
    CMenu* GetSubMenu(int nPos);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
    // Runs the popup until it closes; the choice reaches pWnd as a WM_COMMAND.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd);

    HMENU m_hMenu = nullptr;

private:
    CMenuHandle m_owned;
    std::vector<std::unique_ptr<CMenu>> m_subMenus;
};
