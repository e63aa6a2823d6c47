#include "tests/e2e/harness/dialog_driver.h"

#include "tests/e2e/harness/wait_until.h"

bool CDialogDriver::Click(int id) const {
    return PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(m_hWnd, id))) != FALSE;
}

bool CDialogDriver::Command(int id) const {
    return PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0) != FALSE;
}

bool CDialogDriver::SysCommand(WPARAM command) const {
    return PostMessageA(m_hWnd, WM_SYSCOMMAND, command, 0) != FALSE;
}

bool CDialogDriver::Close() const {
    return PostMessageA(m_hWnd, WM_CLOSE, 0, 0) != FALSE;
}

bool CDialogDriver::PostTrayNotify(UINT message, WPARAM iconId, LPARAM mouseMessage) const {
    // Posted, never sent: the program answers a left press with a modal popup menu.
    return PostMessageA(m_hWnd, message, iconId, mouseMessage) != FALSE;
}

HWND CDialogDriver::FocusedControl() const {
    // GetFocus only answers for the calling thread's queue; GetGUIThreadInfo reads another
    // thread's focus.
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD dwThread = GetWindowThreadProcessId(m_hWnd, nullptr);
    if (!GetGUIThreadInfo(dwThread, &info))
        return nullptr;
    return info.hwndFocus;
}

bool CDialogDriver::PressKey(WORD vk) const {
    HWND hTarget = FocusedControl();
    if (hTarget == nullptr || (hTarget != m_hWnd && !IsChild(m_hWnd, hTarget)))
        hTarget = m_hWnd;
    const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (1L << 30) | (1L << 31);
    // The dialog's message loop (IsDialogMessage) turns Enter into the default button's command
    // and Escape into IDCANCEL only for key messages addressed to the dialog or one of its
    // controls; WM_KEYDOWN sent directly would bypass that loop.
    if (!PostMessageA(hTarget, WM_KEYDOWN, vk, down))
        return false;
    // Escape (and Enter on some dialogs) ends the dialog on the key-down; its windows can be
    // gone before the key-up is posted, which then has nothing left to reach.
    return PostMessageA(hTarget, WM_KEYUP, vk, up) != FALSE || !IsWindow(hTarget);
}

bool CDialogDriver::TypeKey(WORD vk) const {
    // Wine lets another process take the foreground (no foreground lock), and input only goes
    // to the foreground window's thread.
    SetForegroundWindow(m_hWnd);
    if (!e2e::WaitUntil([&] { return GetForegroundWindow() == m_hWnd; }, 3000))
        return false;
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = vk;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, input, sizeof(INPUT)) == 2;
}

RECT CDialogDriver::WindowRect() const {
    RECT rc{};
    GetWindowRect(m_hWnd, &rc);
    return rc;
}

RECT CDialogDriver::ItemRect(int id) const {
    RECT rc{};
    GetWindowRect(GetDlgItem(m_hWnd, id), &rc);
    return rc;
}

POINT CDialogDriver::ClientToScreenPoint(int x, int y) const {
    POINT pt{x, y};
    ClientToScreen(m_hWnd, &pt);
    return pt;
}
