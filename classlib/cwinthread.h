#pragma once

#include <windows.h>

#include "classlib/ccmdtarget.h"
#include "classlib/cwnd.h"

// The class library's thread procedure: one untyped parameter, an unsigned result.
using AFX_THREADPROC = UINT (*)(LPVOID);

// A thread of the program: the application's user-interface thread (CWinApp) or a worker
// started with AfxBeginThread. A worker's object deletes itself when its procedure returns.
class CWinThread : public CCmdTarget {
public:
    CWinThread() = default;
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);

    // The thread's main window: the application's main dialog, for a worker as well.
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    CWnd* m_pMainWnd = nullptr;

private:
    friend CWinThread* AfxBeginThread(AFX_THREADPROC, LPVOID);
    static unsigned __stdcall ThreadEntry(void* pThread);

    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
    // A worker's borrowed view of the starting thread's main window. The worker keeps its own
    // object so that it never reads the dialog object across threads.
    CWnd m_wndInheritedMain;
};

// The thread object of the calling thread: the application on the user-interface thread, the
// worker's own object on a worker; nullptr on a thread the class library did not start.
CWinThread* AfxGetThread();
// Makes pThread the calling thread's object (the entry routine does it for the application).
void AfxSetThread(CWinThread* pThread);

// Starts pfnThreadProc(pParam) on a new thread of normal priority and the default stack size,
// which takes over the calling thread's main window. The returned object deletes itself when
// the procedure returns: keep it only while the thread is known to run. nullptr when no thread
// could be started.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
