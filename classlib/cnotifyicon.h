#pragma once

#include <windows.h>

#include <shellapi.h>

// A notification-area icon of this program: keeps the record it is added with, so the icon can
// be added again (a refused add, a re-created taskbar), and removes the icon when it is let go.
class CNotifyIcon {
public:
    CNotifyIcon() = default;
    CNotifyIcon(const CNotifyIcon&) = delete;
    CNotifyIcon& operator=(const CNotifyIcon&) = delete;
    ~CNotifyIcon() { Remove(); }

    // Keeps the record every later call uses.
    void SetRecord(const NOTIFYICONDATAA& record);
    // NIM_ADD with the kept record: whether the shell took it.
    bool Add();
    // NIM_MODIFY with the kept record: whether the shell has the icon.
    bool Modify();
    // NIM_DELETE with the window and identifier of the kept record; does nothing when no record
    // is kept.
    void Remove();

private:
    bool Notify(DWORD dwMessage);

    NOTIFYICONDATAA m_record{};
    bool m_bKept = false;
};
