#pragma once

#include "settings/settings_port.h"

// The section of the per-user profile that keeps the dialog's check boxes, and their entries.
constexpr char kSettingsSection[] = "AppSeting";
constexpr char kStartAtLaunchEntry[] = "StartAppDo";
constexpr char kKeepFavouritesEntry[] = "KeepFavoriteDo";
constexpr int kCheckBoxChecked = 1; // BST_CHECKED

// A check box of the dialog whose state is kept in the profile, missing reading as 0. The box is
// the judge of the stored value: whatever was stored goes to the box unchanged, and only a box
// that then reads as checked turns its option on.
class CStoredCheckBox {
public:
    CStoredCheckBox(ISettingsPort& port, const char* pszEntry)
        : m_port(port), m_pszEntry(pszEntry) {}

    // Once, during the dialog's initialisation: true when the box then reads as checked.
    bool Apply();
    // At every click of the box: stores the state it reports now; true when it is checked.
    bool OnBoxClicked();

protected:
    ISettingsPort& m_port;

private:
    const char* m_pszEntry;
};
