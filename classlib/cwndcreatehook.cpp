#include "classlib/cwndcreatehook.h"

#include "classlib/cwnd.h"

namespace {
// The object waiting for its window, and the hook that delivers it; per thread, because a
// computer-based training hook sees only the windows of the thread that set it.
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHook = nullptr;

// The input method's default window may be created on the thread just before the window we
// wait for (a Japanese system has one); it is not ours to take.
bool IsImeWindow(HWND hWnd) {
    if (GetClassLongA(hWnd, GCL_STYLE) & CS_IME)
        return true;
    char szClass[8] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return lstrcmpiA(szClass, "IME") == 0;
}
} // namespace

CWndCreateHook::CWndCreateHook(CWnd* pWnd) {
    t_pWndInit = pWnd;
    m_hook.Reset(SetWindowsHookExA(WH_CBT, &CbtProc, nullptr, GetCurrentThreadId()));
    t_hHook = m_hook.Get();
}

CWndCreateHook::~CWndCreateHook() {
    t_pWndInit = nullptr;
    t_hHook = nullptr;
}

LRESULT CALLBACK CWndCreateHook::CbtProc(int nCode, WPARAM wParam, LPARAM lParam) {
    // HCBT_CREATEWND comes before the window's first message, so the subclass sees them all.
    if (nCode == HCBT_CREATEWND && t_pWndInit && !IsImeWindow(reinterpret_cast<HWND>(wParam))) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(t_hHook, nCode, wParam, lParam);
}
