#pragma once

#include "settings/stored_check_box.h"

// The setting whether the watch starts by itself at launch: its box, and the start of the watch
// when the box reads as checked at initialisation. A click only stores the state.
class CStartAtLaunch : public CStoredCheckBox {
public:
    explicit CStartAtLaunch(ISettingsPort& port) : CStoredCheckBox(port, kStartAtLaunchEntry) {}

    // Once, during the dialog's initialisation after the platform gate has passed. True when
    // the watch was started.
    bool Apply();
};
