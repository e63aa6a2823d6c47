#include "ui/dialog_tray_port.h"

void CDialogTrayPort::SetRecord(const NOTIFYICONDATAA& record) {
    m_icon.SetRecord(record);
    m_hWnd = record.hWnd;
}

void CDialogTrayPort::RemoveIcon() {
    m_icon.Remove();
}

bool CDialogTrayPort::AddIcon() {
    return m_icon.Add();
}

bool CDialogTrayPort::ModifyIcon() {
    return m_icon.Modify();
}

void CDialogTrayPort::StartRetryTimer(unsigned nElapseMs) {
    ::SetTimer(m_hWnd, kRetryTimer, nElapseMs, nullptr);
}

void CDialogTrayPort::StopRetryTimer() {
    ::KillTimer(m_hWnd, kRetryTimer);
}
