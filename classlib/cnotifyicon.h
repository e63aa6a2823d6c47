#pragma once

#include <windows.h>

#include <shellapi.h>

// A notification-area icon this program added: keeps the record it was added with, so the icon
// can be added again when the taskbar is re-created, and removes the icon when it is let go.
class CNotifyIcon {
public:
    CNotifyIcon() = default;
    CNotifyIcon(const CNotifyIcon&) = delete;
    CNotifyIcon& operator=(const CNotifyIcon&) = delete;
    ~CNotifyIcon() { Remove(); }

    // NIM_ADD with this record, which is kept; the result of the call is not examined (the
    // program runs on without an icon).
    void Add(const NOTIFYICONDATAA& record);
    // NIM_ADD once more with the kept record: a new taskbar has forgotten every icon.
    void AddAgain();
    // NIM_DELETE with the window and identifier the icon was added with; does nothing when no
    // icon is held.
    void Remove();

private:
    NOTIFYICONDATAA m_record{};
    bool m_bAdded = false;
};
