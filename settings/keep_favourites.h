#pragma once

#include "settings/settings_port.h"

// Where the rule that keeps the cookies of favourite sites is stored, beside the start-at-launch
// value of the same section.
constexpr char kKeepFavouritesEntry[] = "KeepFavoriteDo";

// The opt-in rule that keeps the cookie files of the user's favourite sites, off by default. As
// with the start-at-launch box, the stored value goes to the box unchanged and the box's answer
// is the rule.
class CKeepFavourites {
public:
    explicit CKeepFavourites(ISettingsPort& port) : m_port(port) {}

    // Once, during the dialog's initialisation: true when the box then reads as checked.
    bool Apply();
    // At every click of the box: stores the state it reports now; true when it is checked.
    bool OnBoxClicked();

private:
    ISettingsPort& m_port;
};
