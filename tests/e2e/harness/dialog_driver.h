#pragma once

#include <windows.h>

#include <string>

// Plays the user against one window of the program from outside its process: button clicks,
// system commands, keys, the close box, the notification icon's callback, and the window's
// visible state and geometry.
class CDialogDriver {
public:
    explicit CDialogDriver(HWND hWnd) : m_hWnd(hWnd) {}

    HWND Window() const { return m_hWnd; }
    bool Exists() const { return IsWindow(m_hWnd) != FALSE; }
    bool IsVisible() const { return IsWindowVisible(m_hWnd) != FALSE; }
    bool IsEnabled() const { return IsWindowEnabled(m_hWnd) != FALSE; }
    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }

    // What a click of a button delivers to its dialog: WM_COMMAND with BN_CLICKED and the
    // button's window.
    bool Click(int id) const;
    // A bare command (menu item or button id) with notification code 0.
    bool Command(int id) const;
    bool SysCommand(WPARAM command) const;
    // The close box: WM_CLOSE, which the dialog manager turns into IDCANCEL.
    bool Close() const;
    // Posts the notification icon's callback message as the shell would.
    bool PostTrayNotify(UINT message, WPARAM iconId, LPARAM mouseMessage) const;

    // A key pressed while the dialog has the keyboard focus: a key-down/key-up pair posted to
    // the focused control of the dialog's thread (the dialog itself when nothing has the focus),
    // so the program's own dialog message loop translates it.
    bool PressKey(WORD vk) const;
    // A key typed on the keyboard: the dialog is brought to the foreground, then the key goes
    // through the system's input queue (SendInput) to whatever has the focus there.
    bool TypeKey(WORD vk) const;
    // The control of the dialog's thread that has the keyboard focus, or null.
    HWND FocusedControl() const;

    RECT WindowRect() const;
    RECT ItemRect(int id) const;
    // A point of the client area in screen coordinates.
    POINT ClientToScreenPoint(int x, int y) const;

private:
    HWND m_hWnd;
};
