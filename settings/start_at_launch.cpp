#include "settings/start_at_launch.h"

bool CStartAtLaunch::Apply() {
    const unsigned nStored = m_port.ReadProfileInt(kSettingsSection, kStartAtLaunchEntry, 0);
    m_port.SetCheck(nStored);
    if (m_port.GetCheck() != kCheckBoxChecked)
        return false;
    m_port.StartWatching();
    return true;
}

void CStartAtLaunch::OnBoxClicked() {
    m_port.WriteProfileInt(kSettingsSection, kStartAtLaunchEntry, m_port.GetCheck());
}
