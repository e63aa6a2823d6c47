#pragma once

#include <windows.h>

#include "classlib/cwnd.h"

// One run of a dialog's data exchange: which dialog.
struct CDataExchange {
    CWnd* m_pDlgWnd;
};

// Binds the dialog's control nIDC to rControl (once: later exchanges leave the binding alone),
// so that the object receives the control's messages from now on.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// A modal dialog from a dialog template in the program's resources. DoModal creates the window
// (its object sees every message from WM_NCCREATE on), runs the class library's modal loop and
// destroys the window; the loop shows a dialog that is still hidden when the loop first finds
// its queue empty.
class CDialog : public CWnd {
public:
    // The application's main window owns the dialog.
    explicit CDialog(UINT nIDTemplate);

    // The end code given to EndDialog; -1 when the window could not be created.
    virtual INT_PTR DoModal();
    // Runs the data exchange (binding the controls) and lets the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // Ends the modal run with nResult once the current message is handled.
    void EndDialog(int nResult);

    BOOL OnCmdMsg(UINT nID, UINT nCode) override;

protected:
    // IDOK: exchange the data and end with IDOK. IDCANCEL: end the modal windows above the
    // dialog, then end it with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}
    // Ends every modal window this thread runs above the dialog (a menu, a dialog box of ours or
    // of the system's, and what they opened in turn), each as its cancel would: their loops
    // return as soon as the current message is handled.
    void EndModalWindowsAbove();

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND FindOwner() const;
    void RunModalLoop();

    UINT m_nIDTemplate;
    int m_nModalResult = -1;
    bool m_bContinueModal = false;
};
