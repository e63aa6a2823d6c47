#pragma once

#include <windows.h>

class CWnd;

// One run of a dialog's data exchange: which dialog.
class CDataExchange {
public:
    explicit CDataExchange(CWnd* pDlgWnd) : m_pDlgWnd(pDlgWnd) {}

    CWnd* m_pDlgWnd;
};

// Binds the dialog's control nIDC to rControl (once: later exchanges leave the binding alone),
// so that the object receives the control's messages from now on.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
