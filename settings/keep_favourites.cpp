#include "settings/keep_favourites.h"

#include "settings/start_at_launch.h"

bool CKeepFavourites::Apply() {
    m_port.SetCheck(m_port.ReadProfileInt(kSettingsSection, kKeepFavouritesEntry, 0));
    return m_port.GetCheck() == kCheckBoxChecked;
}

bool CKeepFavourites::OnBoxClicked() {
    const int nState = m_port.GetCheck();
    m_port.WriteProfileInt(kSettingsSection, kKeepFavouritesEntry, nState);
    return nState == kCheckBoxChecked;
}
