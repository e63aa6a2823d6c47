#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "classlib/cstring.h"

// The common open-file dialog in its classic form, owned by the application's main window. The
// classic dialog leaves the process's current directory at the chosen file's folder unless
// OFN_NOCHANGEDIR is given.
class CFileDialog {
public:
    // lpszFileName: the name the dialog starts with. lpszFilter: parts separated by '|'
    // ("Text(*.txt)|*.txt||").
    CFileDialog(const char* lpszFileName, DWORD dwFlags, const char* lpszFilter);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    // The chosen file's name and extension, without its folder.
    CString GetFileName() const;

    OPENFILENAMEA m_ofn{};

private:
    std::string m_strFilter;
    char m_szFileName[MAX_PATH] = {};
};
