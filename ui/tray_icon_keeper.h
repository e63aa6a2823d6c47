#pragma once

// What the icon keeper needs of the platform: the shell's side of the program's one
// notification icon, and a timer of the window that owns it. Kept apart from Win32 so that the
// rule below can be checked alone.
class CTrayIconPort {
public:
    // Sends NIM_ADD with the icon's record: true when the shell took it.
    virtual bool AddIcon() = 0;
    // Sends NIM_MODIFY with the same record: true when the shell has the icon.
    virtual bool ModifyIcon() = 0;
    virtual void StartRetryTimer(unsigned nElapseMs) = 0;
    virtual void StopRetryTimer() = 0;

protected:
    ~CTrayIconPort() = default;
};

// Keeps the icon on the taskbar. A program started at logon may come before the taskbar exists
// or while it is too busy to answer: an add the shell refuses is tried again every two seconds
// until it is taken, so the icon, the user's one way back to a hidden dialog, always appears.
class CTrayIconKeeper {
public:
    static constexpr unsigned kRetryMs = 2000;

    explicit CTrayIconKeeper(CTrayIconPort& port) : m_port(port) {}
    CTrayIconKeeper(const CTrayIconKeeper&) = delete;
    CTrayIconKeeper& operator=(const CTrayIconKeeper&) = delete;

    // At the window's creation, and when a new taskbar (one that knows no icons) appears.
    void Add() {
        if (TryAdd())
            StopRetrying();
        else if (!m_bRetrying) {
            // One timer at a time: a refusal while retrying goes on with the running one.
            m_bRetrying = true;
            m_port.StartRetryTimer(kRetryMs);
        }
    }

    void OnRetryTimer() {
        if (!m_bRetrying)
            return; // a tick already queued when the icon was taken
        if (TryAdd())
            StopRetrying();
    }

private:
    // A busy shell may take an add yet report a time-out, and a taskbar announced as new may
    // still hold the icon; every add of an icon the shell has is refused, so such an icon
    // counts as taken.
    bool TryAdd() { return m_port.AddIcon() || m_port.ModifyIcon(); }

    void StopRetrying() {
        if (m_bRetrying) {
            m_bRetrying = false;
            m_port.StopRetryTimer();
        }
    }

    CTrayIconPort& m_port;
    bool m_bRetrying = false;
};
