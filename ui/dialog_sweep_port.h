#pragma once

#include <windows.h>

#include "sweep/win32_sweep_port.h"

class CWispfoldDlg;

// The sweep port of the main dialog: the dialog-side operations (questions, ending, hiding, the
// worker's start) go through the class library and the dialog itself.
class CDialogSweepPort : public CWin32SweepPort {
public:
    explicit CDialogSweepPort(CWispfoldDlg& dlg) : m_dlg(dlg) {}

    // AfxMessageBox: the application's name as caption, the main dialog as owner.
    int AskUser(const char* pszText, unsigned nType) override;
    // The base-class cancel, not the dialog's own override.
    void CancelDialog() override;
    void HideDialog() override;
    bool StartThread(ThreadProc proc, void* pParam) override;

private:
    CWispfoldDlg& m_dlg;
};
