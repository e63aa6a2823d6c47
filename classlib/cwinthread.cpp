#include "classlib/cwinthread.h"

#include <process.h>

#include <memory>

namespace {
thread_local CWinThread* t_pThread = nullptr;
} // namespace

CWinThread* AfxGetThread() {
    return t_pThread;
}

void AfxSetThread(CWinThread* pThread) {
    t_pThread = pThread;
}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

unsigned __stdcall CWinThread::ThreadEntry(void* pParam) {
    auto* pThread = static_cast<CWinThread*>(pParam);
    t_pThread = pThread;
    unsigned nResult = 0;
    try {
        nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    } catch (...) {
        // A worker's failure ends the worker, never the process.
    }
    t_pThread = nullptr;
    if (pThread->m_bAutoDelete)
        delete pThread;
    return nResult;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    auto pThread = std::make_unique<CWinThread>(pfnThreadProc, pParam);
    // Taken here, on the starting thread, so that the worker never reads another thread's
    // main-window pointer while that thread may change it.
    if (CWinThread* pCurrent = AfxGetThread())
        if (CWnd* pMain = pCurrent->GetMainWnd(); pMain && pMain->m_hWnd) {
            pThread->m_wndInheritedMain.m_hWnd = pMain->m_hWnd;
            pThread->m_pMainWnd = &pThread->m_wndInheritedMain;
        }
    // Started suspended: the object must be complete before its thread can delete it.
    unsigned nThreadID = 0;
    const uintptr_t hThread =
        _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, pThread.get(),
                       dwCreateFlags | CREATE_SUSPENDED, &nThreadID);
    if (hThread == 0)
        return nullptr;
    pThread->m_hThread = CKernelHandle(reinterpret_cast<HANDLE>(hThread));
    pThread->m_nThreadID = nThreadID;
    ::SetThreadPriority(pThread->m_hThread.Get(), nPriority);
    CWinThread* pStarted = pThread.release();
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(pStarted->m_hThread.Get());
    return pStarted;
}
