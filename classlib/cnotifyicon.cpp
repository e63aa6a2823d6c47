#include "classlib/cnotifyicon.h"

#include <utility>

void CNotifyIcon::SetRecord(const NOTIFYICONDATAA& record) {
    m_record = record;
    m_bKept = true;
}

bool CNotifyIcon::Add() {
    return Notify(NIM_ADD);
}

bool CNotifyIcon::Modify() {
    return Notify(NIM_MODIFY);
}

bool CNotifyIcon::Notify(DWORD dwMessage) {
    if (!m_bKept)
        return false;
    // The record is handed over as a copy: the shell may write into it.
    NOTIFYICONDATAA nid = m_record;
    return ::Shell_NotifyIconA(dwMessage, &nid) != FALSE;
}

void CNotifyIcon::Remove() {
    if (!std::exchange(m_bKept, false))
        return;
    // The shell finds the icon by window and identifier only; everything else stays zero.
    NOTIFYICONDATAA nid{};
    nid.cbSize = m_record.cbSize;
    nid.hWnd = m_record.hWnd;
    nid.uID = m_record.uID;
    ::Shell_NotifyIconA(NIM_DELETE, &nid);
}
