#include <windows.h>

#include "classlib/cwinapp.h"

// The program's entry routine. It builds nothing: the one global application object exists
// already; InitInstance runs the program, and the process ends when it returns.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->InitApplication(hInstance);
    // This class library has no application message loop: InitInstance's result has nothing
    // to decide.
    pApp->InitInstance();
    pApp->TermApplication();
    return 0;
}
