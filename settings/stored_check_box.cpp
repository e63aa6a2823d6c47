#include "settings/stored_check_box.h"

bool CStoredCheckBox::Apply() {
    m_port.SetCheck(m_port.ReadProfileInt(kSettingsSection, m_pszEntry, 0));
    return m_port.GetCheck() == kCheckBoxChecked;
}

bool CStoredCheckBox::OnBoxClicked() {
    const int nState = m_port.GetCheck();
    m_port.WriteProfileInt(kSettingsSection, m_pszEntry, nState);
    return nState == kCheckBoxChecked;
}
