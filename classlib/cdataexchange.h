#pragma once

#include <windows.h>

class CWnd;

// One run of a dialog's data exchange: which dialog, and in which direction.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds the dialog's control nIDC to rControl (once: later exchanges leave the binding alone),
// so that the object receives the control's messages from now on.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
