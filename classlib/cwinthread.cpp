#include "classlib/cwinthread.h"

#include <process.h>

#include <memory>

#include "classlib/handles.h"

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
    delete pThread;
    return nResult;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) {
    auto pThread = std::make_unique<CWinThread>(pfnThreadProc, pParam);
    // Taken here, on the starting thread, so that the worker never reads another thread's
    // main-window pointer while that thread may change it.
    if (CWinThread* pCurrent = AfxGetThread())
        if (CWnd* pMain = pCurrent->GetMainWnd(); pMain && pMain->m_hWnd) {
            pThread->m_wndInheritedMain.m_hWnd = pMain->m_hWnd;
            pThread->m_pMainWnd = &pThread->m_wndInheritedMain;
        }
    // The object is complete before the thread starts; from then on it belongs to the thread.
    // Nobody waits for a worker through its handle, so the handle is closed at once.
    const CKernelHandle hThread(reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, &CWinThread::ThreadEntry, pThread.get(), 0, nullptr)));
    return hThread ? pThread.release() : nullptr;
}
