#include "classlib/cmenu.h"

#include "classlib/cwinapp.h"
#include "classlib/cwnd.h"

BOOL CMenu::LoadMenu(UINT nIDResource) {
    DestroyMenu();
    m_owned.Reset(::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIDResource)));
    m_hMenu = m_owned.Get();
    return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu() {
    m_subMenus.clear();
    m_hMenu = nullptr;
    if (!m_owned)
        return FALSE;
    m_owned.Reset();
    return TRUE;
}

CMenu* CMenu::GetSubMenu(int nPos) {
    const HMENU hSub = ::GetSubMenu(m_hMenu, nPos);
    if (!hSub)
        return nullptr;
    for (const std::unique_ptr<CMenu>& pSub : m_subMenus)
        if (pSub->m_hMenu == hSub)
            return pSub.get();
    return m_subMenus.emplace_back(std::make_unique<CMenu>(hSub)).get();
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, nullptr);
}
