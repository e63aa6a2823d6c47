#pragma once

#include <windows.h>

#include "classlib/cnotifyicon.h"
#include "ui/tray_icon_keeper.h"

// The tray-icon port of the main dialog: the icon's record (the icon is removed when the port
// lets it go), the window its mouse events go to, and that window's retry timer.
class CDialogTrayPort : public CTrayIconPort {
public:
    // The window's one timer: another add of an icon the shell refused.
    static constexpr UINT_PTR kRetryTimer = 1;

    // Keeps the record every later call uses; its window owns the retry timer.
    void SetRecord(const NOTIFYICONDATAA& record);
    // NIM_DELETE, while the window still exists: no ghost icon outlives the program.
    void RemoveIcon();

    bool AddIcon() override;
    bool ModifyIcon() override;
    void StartRetryTimer(unsigned nElapseMs) override;
    void StopRetryTimer() override;

private:
    CNotifyIcon m_icon;
    HWND m_hWnd = nullptr;
};
