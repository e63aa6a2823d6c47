#pragma once

#include <windows.h>

#include "classlib/handles.h"

class CWnd;

// While alive, the next window this thread creates becomes pWnd's own from its very first
// message: a dialog procedure would never see WM_NCCREATE and WM_CREATE, the subclass does.
class CWndCreateHook {
public:
    explicit CWndCreateHook(CWnd* pWnd);
    CWndCreateHook(const CWndCreateHook&) = delete;
    CWndCreateHook& operator=(const CWndCreateHook&) = delete;
    ~CWndCreateHook();

private:
    static LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam);

    CHook m_hook;
};
