#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Finds the top-level windows that belong to one process: the main dialog by its caption,
// message boxes, the About box, popup menus. Windows of other processes (stale runs, the test's
// own windows) never match.
class CWindowScout {
public:
    explicit CWindowScout(DWORD pid) : m_dwPid(pid) {}

    // Every top-level window of the process, visible or not, in Z order.
    std::vector<HWND> TopLevelWindows() const;
    // The first top-level window of the process with this class name and (if given) caption.
    HWND Find(const char* className, const char* caption = nullptr) const;
    // Dialog-class windows ("#32770") of the process other than `except`.
    std::vector<HWND> Dialogs(HWND except) const;
    // The open popup menu ("#32768") of the process, or null.
    HWND PopupMenu() const;

    static std::string ClassOf(HWND hWnd);
    static std::string TextOf(HWND hWnd);

private:
    DWORD m_dwPid;
};
