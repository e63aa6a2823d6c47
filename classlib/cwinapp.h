#pragma once

#include <windows.h>

#include "classlib/cstring.h"
#include "classlib/cwinthread.h"
#include "classlib/handles.h"

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

// The one application object. The entry routine names the application after the executable,
// makes the object the user-interface thread's, calls InitInstance and ends the process when
// it returns; there is no application message loop.
class CWinApp : public CWinThread {
public:
    CWinApp();
    ~CWinApp() override;

    virtual BOOL InitInstance() { return FALSE; }

    // From now on the profile lives in HKEY_CURRENT_USER\Software\<key>\<application name>.
    void SetRegistryKey(const char* lpszRegistryKey);
    // The REG_DWORD value of entry in section; nDefault when it is missing or of another type.
    UINT GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault);
    BOOL WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue);

    // The standard help command: this program has no help file, so there is nothing to open.
    void OnHelp() {}

    // Called once by the entry routine before InitInstance: names the application after the
    // executable's file name.
    void InitApplication(HINSTANCE hInstance);
    // Called once by the entry routine after InitInstance.
    void TermApplication();

    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr;

private:
    friend void AfxEnableControlContainer();
    CString SectionPath(const char* lpszSection) const;

    CString m_strAppName;
    CString m_strRegistryKey;
    COleInit m_oleInit;
};

// The application object, the module of its resources, and its message box: caption = the
// application's name, owner = the calling thread's main window, and the exclamation icon for
// OK boxes or the question icon for Yes/No boxes when the caller gives no icon.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK);
// Dialogs and views may host component controls (the web browser) from now on: OLE is started
// on this thread, once.
void AfxEnableControlContainer();
// The string resource nID through the ANSI entry point; empty when there is none.
CString AfxLoadString(UINT nID);
