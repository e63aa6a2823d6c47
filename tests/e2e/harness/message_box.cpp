#include "tests/e2e/harness/message_box.h"

#include "tests/e2e/harness/window_scout.h"

std::string CMessageBox::Text() const {
    char buffer[2048] = {};
    GetDlgItemTextA(m_hWnd, 0xFFFF, buffer, sizeof(buffer));
    return buffer;
}

std::string CMessageBox::Caption() const {
    return CWindowScout::TextOf(m_hWnd);
}

bool CMessageBox::Answer(int id) const {
    return PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(m_hWnd, id))) != FALSE;
}
