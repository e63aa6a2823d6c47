#pragma once

#include <windows.h>

#include <string>

// One message box of the program, seen from outside: its text and caption, answered by
// posting the button's command as a click would.
class CMessageBox {
public:
    explicit CMessageBox(HWND hWnd) : m_hWnd(hWnd) {}

    HWND Window() const { return m_hWnd; }
    bool Exists() const { return IsWindow(m_hWnd) != FALSE; }
    // The message text: the box's static control 0xFFFF.
    std::string Text() const;
    std::string Caption() const;
    // Whether the box carries a button with this id (IDOK, IDYES, IDNO).
    bool HasButton(int id) const { return GetDlgItem(m_hWnd, id) != nullptr; }
    // Clicks IDOK, IDYES or IDNO.
    bool Answer(int id) const;

private:
    HWND m_hWnd;
};
