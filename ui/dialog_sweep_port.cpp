#include "ui/dialog_sweep_port.h"

#include "classlib/cwinapp.h"
#include "ui/wispfold_dlg.h"

int CDialogSweepPort::AskUser(const char* pszText, unsigned nType) {
    return TrackQuestion([&] { return AfxMessageBox(pszText, nType); });
}

void CDialogSweepPort::CancelDialog() {
    m_dlg.CDialog::OnCancel();
}

void CDialogSweepPort::HideDialog() {
    // The flag first: the hide passes through the position-change handler, which reads it.
    m_dlg.m_bShown = 0;
    m_dlg.ShowWindow(SW_HIDE);
}

bool CDialogSweepPort::StartThread(ThreadProc proc, void* pParam) {
    return AfxBeginThread(proc, pParam) != nullptr;
}
