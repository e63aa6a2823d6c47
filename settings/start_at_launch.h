#pragma once

#include "settings/settings_port.h"

// Where the setting lives in the per-user profile, and the box state that starts the watch.
constexpr char kSettingsSection[] = "AppSeting";
constexpr char kStartAtLaunchEntry[] = "StartAppDo";
constexpr int kCheckBoxChecked = 1; // BST_CHECKED

// The one persisted setting: whether the watch starts by itself at launch. The check box is the
// judge of the stored value: whatever was stored goes to the box unchanged, and only a box that
// then reads as checked starts the watch.
class CStartAtLaunch {
public:
    explicit CStartAtLaunch(ISettingsPort& port) : m_port(port) {}

    // Once, during the dialog's initialisation after the platform gate has passed. True when
    // the watch was started.
    bool Apply();
    // At every click of the box: stores the state the box reports now; the watch is not touched.
    void OnBoxClicked();

private:
    ISettingsPort& m_port;
};
