#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "classlib/cstring.h"

class CWnd;

// The common open-file (or save-file) dialog in its classic form. The classic dialog leaves the
// process's current directory at the chosen file's folder unless OFN_NOCHANGEDIR is given.
class CFileDialog {
public:
    // lpszFilter: parts separated by '|' ("Text(*.txt)|*.txt||"). With no parent the
    // application's main window owns the dialog. dwSize 0 means the full record; bVistaStyle is
    // accepted for the class library's signature, and the classic dialog is shown either way.
    explicit CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
                         const char* lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr,
                         DWORD dwSize = 0, BOOL bVistaStyle = TRUE);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    // The chosen file's name and extension, without its folder.
    CString GetFileName() const;

    OPENFILENAMEA m_ofn{};

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    std::string m_strFilter;
    CString m_strDefExt;
    char m_szFileName[MAX_PATH] = {};
};
