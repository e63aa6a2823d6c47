#include "classlib/cfiledialog.h"

#include <algorithm>
#include <cstring>

#include "classlib/cwinapp.h"
#include "classlib/mbcs_text.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd, DWORD dwSize,
                         BOOL)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd), m_strDefExt(lpszDefExt) {
    m_ofn.lStructSize = dwSize ? dwSize : sizeof(OPENFILENAMEA);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    if (lpszFileName) {
        // Paths are at most MAX_PATH bytes; a longer one is cut and then not found.
        const size_t nLength = std::min(std::strlen(lpszFileName), size_t{MAX_PATH - 1});
        std::memcpy(m_szFileName, lpszFileName, nLength);
    }
    if (lpszDefExt)
        m_ofn.lpstrDefExt = m_strDefExt;
    if (lpszFilter) {
        m_strFilter = FilterToNulSeparated(lpszFilter);
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

INT_PTR CFileDialog::DoModal() {
    HWND hWndOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hWndOwner)
        if (CWinThread* pThread = AfxGetThread())
            if (CWnd* pMain = pThread->GetMainWnd())
                hWndOwner = pMain->m_hWnd;
    m_ofn.hwndOwner = hWndOwner;
    const BOOL bChosen = m_bOpenFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return bChosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const {
    // nFileOffset points at the first byte of the name, behind the folder.
    if (m_ofn.nFileOffset >= MAX_PATH)
        return CString();
    return CString(m_szFileName + m_ofn.nFileOffset);
}
