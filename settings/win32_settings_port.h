#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "settings/settings_port.h"

// The settings port over Win32: the application's registry profile through the class library,
// one check box window, and the watch's start as the dialog hands it in.
class CWin32SettingsPort : public ISettingsPort {
public:
    // hCheckBox is borrowed: the dialog's control, alive as long as the dialog's window is.
    CWin32SettingsPort(HWND hCheckBox, std::function<void()> startWatching)
        : m_hCheckBox(hCheckBox), m_startWatching(std::move(startWatching)) {}

    unsigned ReadProfileInt(const char* pszSection, const char* pszEntry, int nDefault) override;
    void WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue) override;
    void SetCheck(unsigned nState) override;
    int GetCheck() override;
    void StartWatching() override;

private:
    HWND m_hCheckBox;
    std::function<void()> m_startWatching;
};
