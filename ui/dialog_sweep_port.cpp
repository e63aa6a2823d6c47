#include "ui/dialog_sweep_port.h"

#include "classlib/cwinapp.h"
#include "ui/wispfold_dlg.h"

int CDialogSweepPort::AskUser(const char* pszText, unsigned nType) {
    // Remembered while the box is open, so that the dialog's end can answer it.
    m_dwQuestionThread.store(GetCurrentThreadId());
    const int nAnswer = AfxMessageBox(pszText, nType);
    m_dwQuestionThread.store(0);
    return nAnswer;
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

namespace {
BOOL CALLBACK AnswerNo(HWND hWnd, LPARAM) {
    char szClass[16] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    // A message box is a dialog of the system class "#32770"; IDNO answers it as its "いいえ"
    // button would (a box with OK alone ends on it too).
    if (lstrcmpA(szClass, "#32770") == 0)
        PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    return TRUE;
}
} // namespace

void CDialogSweepPort::DismissQuestions() {
    const DWORD dwThread = m_dwQuestionThread.load();
    if (dwThread != 0 && dwThread != GetCurrentThreadId())
        EnumThreadWindows(dwThread, &AnswerNo, 0);
}
