#pragma once

// The shell's side of the program's one notification icon, and a timer of the window that owns
// it. Kept apart from Win32 so that the rule below can be checked alone.
class CTrayIconShell {
public:
    // NIM_ADD with the icon's record: true when the shell took it.
    virtual bool AddIcon() = 0;
    // NIM_MODIFY with the same record: true when the shell has the icon.
    virtual bool IconIsKnown() = 0;
    virtual void SetRetryTimer(unsigned nElapseMs) = 0;
    virtual void KillRetryTimer() = 0;

protected:
    ~CTrayIconShell() = default;
};

// Keeps the icon on the taskbar. A program started at logon may come before the taskbar exists
// or while it is too busy to answer: an add the shell refuses is tried again every two seconds
// until it is taken, so the icon, the user's one way back to a hidden dialog, always appears.
class CTrayIconKeeper {
public:
    static constexpr unsigned kRetryMs = 2000;

    explicit CTrayIconKeeper(CTrayIconShell& shell) : m_shell(shell) {}
    CTrayIconKeeper(const CTrayIconKeeper&) = delete;
    CTrayIconKeeper& operator=(const CTrayIconKeeper&) = delete;

    // At the window's creation, and when a new taskbar (one that knows no icons) appears.
    void Add() {
        if (TryAdd())
            Taken();
        else
            Refused();
    }

    void OnRetryTimer() {
        if (!m_bRetrying)
            return; // a tick already queued when the icon was taken
        if (TryAdd())
            Taken();
    }

    bool IsOnTaskbar() const { return m_bOnTaskbar; }

private:
    // A busy shell may take an add yet report a time-out, and a taskbar announced as new may
    // still hold the icon; every add of an icon the shell has is refused, so such an icon
    // counts as taken.
    bool TryAdd() { return m_shell.AddIcon() || m_shell.IconIsKnown(); }

    void Taken() {
        m_bOnTaskbar = true;
        if (m_bRetrying) {
            m_bRetrying = false;
            m_shell.KillRetryTimer();
        }
    }

    void Refused() {
        m_bOnTaskbar = false;
        // One timer at a time: a refusal while retrying goes on with the running one.
        if (!m_bRetrying) {
            m_bRetrying = true;
            m_shell.SetRetryTimer(kRetryMs);
        }
    }

    CTrayIconShell& m_shell;
    bool m_bOnTaskbar = false;
    bool m_bRetrying = false;
};
