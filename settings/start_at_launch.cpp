#include "settings/start_at_launch.h"

bool CStartAtLaunch::Apply() {
    if (!CStoredCheckBox::Apply())
        return false;
    m_port.StartWatching();
    return true;
}
