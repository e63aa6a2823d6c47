#include "classlib/cnotifyicon.h"

#include <utility>

void CNotifyIcon::Add(const NOTIFYICONDATAA& record) {
    m_record = record;
    m_bAdded = true;
    // The record is handed over as a copy: the shell may write into it.
    NOTIFYICONDATAA nid = m_record;
    ::Shell_NotifyIconA(NIM_ADD, &nid);
}

void CNotifyIcon::AddAgain() {
    if (!m_bAdded)
        return;
    NOTIFYICONDATAA nid = m_record;
    ::Shell_NotifyIconA(NIM_ADD, &nid);
}

void CNotifyIcon::Remove() {
    if (!std::exchange(m_bAdded, false))
        return;
    // The shell finds the icon by window and identifier only; everything else stays zero.
    NOTIFYICONDATAA nid{};
    nid.cbSize = m_record.cbSize;
    nid.hWnd = m_record.hWnd;
    nid.uID = m_record.uID;
    ::Shell_NotifyIconA(NIM_DELETE, &nid);
}
