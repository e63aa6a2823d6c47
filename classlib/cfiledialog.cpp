#include "classlib/cfiledialog.h"

#include <algorithm>
#include <cstring>

#include "classlib/cwinapp.h"
#include "classlib/mbcs_text.h"

CFileDialog::CFileDialog(const char* lpszFileName, DWORD dwFlags, const char* lpszFilter)
    : m_strFilter(FilterToNulSeparated(lpszFilter)) {
    m_ofn.lStructSize = sizeof(OPENFILENAMEA);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    if (lpszFileName) {
        // Paths are at most MAX_PATH bytes; a longer one is cut and then not found.
        const size_t nLength = std::min(std::strlen(lpszFileName), size_t{MAX_PATH - 1});
        std::memcpy(m_szFileName, lpszFileName, nLength);
    }
    if (lpszFilter)
        m_ofn.lpstrFilter = m_strFilter.c_str();
}

INT_PTR CFileDialog::DoModal() {
    CWinThread* pThread = AfxGetThread();
    CWnd* pMain = pThread ? pThread->GetMainWnd() : nullptr;
    m_ofn.hwndOwner = pMain ? pMain->m_hWnd : nullptr;
    return GetOpenFileNameA(&m_ofn) ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const {
    // nFileOffset points at the first byte of the name, behind the folder.
    if (m_ofn.nFileOffset >= MAX_PATH)
        return CString();
    return CString(m_szFileName + m_ofn.nFileOffset);
}
