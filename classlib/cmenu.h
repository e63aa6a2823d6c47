#pragma once

#include <windows.h>

#include <map>
#include <memory>

class CWnd;

// A menu: owns the menus it loads (destroyed with the object), borrows the ones the system or a
// parent menu owns (the system menu, a popup of a loaded menu). Move-only.
class CMenu {
public:
    CMenu() = default;
    CMenu(CMenu&& other) noexcept;
    CMenu& operator=(CMenu&& other) noexcept;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu();

    // A borrowed view of a menu that somebody else destroys.
    static CMenu Borrow(HMENU hMenu);

    BOOL LoadMenu(UINT nIDResource);
    // Destroys an owned menu (and its popups) now; a borrowed one is only let go.
    BOOL DestroyMenu();
    // The popup at nPos, borrowed from this menu: valid as long as this menu is.
    CMenu* GetSubMenu(int nPos);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
    // Runs the popup until it closes; the choice reaches pWnd as a WM_COMMAND.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* lpRect = nullptr);

    HMENU GetSafeHmenu() const { return m_hMenu; }

    HMENU m_hMenu = nullptr;

private:
    bool m_bOwned = false;
    std::map<HMENU, std::unique_ptr<CMenu>> m_subMenus;
};
