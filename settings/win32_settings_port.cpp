#include "settings/win32_settings_port.h"

#include "classlib/cwinapp.h"

unsigned CWin32SettingsPort::ReadProfileInt(const char* pszSection, const char* pszEntry,
                                            int nDefault) {
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetProfileInt(pszSection, pszEntry, nDefault)
                : static_cast<unsigned>(nDefault);
}

void CWin32SettingsPort::WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue) {
    // A failed write is not reported: the box keeps its state and the next click tries again.
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileInt(pszSection, pszEntry, nValue);
}

void CWin32SettingsPort::SetCheck(unsigned nState) {
    ::SendMessageA(m_hCheckBox, BM_SETCHECK, nState, 0);
}

int CWin32SettingsPort::GetCheck() {
    return static_cast<int>(::SendMessageA(m_hCheckBox, BM_GETCHECK, 0, 0));
}

void CWin32SettingsPort::StartWatching() {
    if (m_startWatching)
        m_startWatching();
}
