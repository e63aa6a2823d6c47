#include "classlib/cmenu.h"

#include <utility>

#include "classlib/cwinapp.h"
#include "classlib/cwnd.h"

CMenu::CMenu(CMenu&& other) noexcept
    : m_hMenu(std::exchange(other.m_hMenu, nullptr)),
      m_bOwned(std::exchange(other.m_bOwned, false)), m_subMenus(std::move(other.m_subMenus)) {}

CMenu& CMenu::operator=(CMenu&& other) noexcept {
    if (this != &other) {
        DestroyMenu();
        m_hMenu = std::exchange(other.m_hMenu, nullptr);
        m_bOwned = std::exchange(other.m_bOwned, false);
        m_subMenus = std::move(other.m_subMenus);
    }
    return *this;
}

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu CMenu::Borrow(HMENU hMenu) {
    CMenu menu;
    menu.m_hMenu = hMenu;
    return menu;
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    DestroyMenu();
    m_hMenu = ::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIDResource));
    m_bOwned = m_hMenu != nullptr;
    return m_bOwned;
}

BOOL CMenu::DestroyMenu() {
    m_subMenus.clear();
    const HMENU hMenu = std::exchange(m_hMenu, nullptr);
    if (!hMenu || !std::exchange(m_bOwned, false))
        return FALSE;
    return ::DestroyMenu(hMenu);
}

CMenu* CMenu::GetSubMenu(int nPos) {
    const HMENU hSub = ::GetSubMenu(m_hMenu, nPos);
    if (!hSub)
        return nullptr;
    std::unique_ptr<CMenu>& pSub = m_subMenus[hSub];
    if (!pSub)
        pSub = std::make_unique<CMenu>(Borrow(hSub));
    return pSub.get();
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
