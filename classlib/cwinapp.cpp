#include "classlib/cwinapp.h"

#include "classlib/mbcs_text.h"

namespace {
CWinApp* g_pApp = nullptr;
} // namespace

CWinApp::CWinApp() {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::InitApplication(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    AfxSetThread(this);
    char szPath[MAX_PATH + 1] = {};
    GetModuleFileNameA(hInstance, szPath, MAX_PATH);
    m_strAppName = ExeNameFromModulePath(szPath);
    m_pszAppName = m_strAppName;
}

void CWinApp::TermApplication() {
    m_oleInit.Reset();
    AfxSetThread(nullptr);
}

void CWinApp::SetRegistryKey(const char* lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey;
}

CString CWinApp::SectionPath(const char* lpszSection) const {
    return CString("Software\\") + m_strRegistryKey + "\\" + m_strAppName + "\\" + lpszSection;
}

UINT CWinApp::GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault) {
    if (m_strRegistryKey.IsEmpty())
        return static_cast<UINT>(nDefault);
    // Opened for reading only: looking up a setting creates no key.
    CRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(lpszSection), 0, KEY_QUERY_VALUE,
                      key.Receive()) != ERROR_SUCCESS)
        return static_cast<UINT>(nDefault);
    DWORD dwType = 0;
    DWORD dwValue = 0;
    DWORD cbValue = sizeof(dwValue);
    if (RegQueryValueExA(key.Get(), lpszEntry, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue),
                         &cbValue) != ERROR_SUCCESS ||
        dwType != REG_DWORD || cbValue != sizeof(dwValue))
        return static_cast<UINT>(nDefault);
    return dwValue;
}

BOOL CWinApp::WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue) {
    if (m_strRegistryKey.IsEmpty())
        return FALSE;
    CRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(lpszSection), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS)
        return FALSE;
    const DWORD dwValue = static_cast<DWORD>(nValue);
    return RegSetValueExA(key.Get(), lpszEntry, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&dwValue),
                          sizeof(dwValue)) == ERROR_SUCCESS;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : GetModuleHandleA(nullptr);
}

int AfxMessageBox(const char* lpszText, UINT nType) {
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    // A worker's thread object carries the application's main window as its own.
    CWinThread* pThread = AfxGetThread();
    if (!pThread)
        pThread = g_pApp;
    CWnd* pMain = pThread ? pThread->GetMainWnd() : nullptr;
    return MessageBoxA(pMain ? pMain->m_hWnd : nullptr, lpszText,
                       g_pApp ? g_pApp->m_pszAppName : nullptr, nType);
}

void AfxEnableControlContainer() {
    if (g_pApp && !g_pApp->m_oleInit)
        g_pApp->m_oleInit.Reset(SUCCEEDED(OleInitialize(nullptr)));
}

CString AfxLoadString(UINT nID) {
    // Resource strings are stored in UTF-16; the ANSI entry point converts them to the system's
    // code page. 1024 bytes hold any string this program has.
    char szBuffer[1024] = {};
    const int nLength = LoadStringA(AfxGetInstanceHandle(), nID, szBuffer, sizeof(szBuffer));
    return nLength > 0 ? CString(szBuffer, nLength) : CString();
}
