#include "app/wispfold_app.h"

#include "ui/wispfold_dlg.h"

BEGIN_MESSAGE_MAP(CWispfoldApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CWispfoldApp theApp;

BOOL CWispfoldApp::InitInstance() {
    AfxEnableControlContainer();
    SetRegistryKey("Quenmarsh");
    CWispfoldDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // No application message loop: the program ends with the dialog.
    return FALSE;
}
