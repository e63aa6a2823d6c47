#include "tests/e2e/harness/window_scout.h"

namespace {

struct EnumContext {
    DWORD pid;
    std::vector<HWND>* found;
};

// Lambdas do not convert to WNDENUMPROC on i686 (calling convention), hence a plain callback.
BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    auto* context = reinterpret_cast<EnumContext*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == context->pid)
        context->found->push_back(hWnd);
    return TRUE;
}

} // namespace

std::vector<HWND> CWindowScout::TopLevelWindows() const {
    std::vector<HWND> found;
    if (m_dwPid == 0)
        return found;
    EnumContext context{m_dwPid, &found};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&context));
    return found;
}

HWND CWindowScout::Find(const char* className, const char* caption) const {
    for (HWND hWnd : TopLevelWindows()) {
        if (ClassOf(hWnd) != className)
            continue;
        if (caption == nullptr || TextOf(hWnd) == caption)
            return hWnd;
    }
    return nullptr;
}

std::vector<HWND> CWindowScout::Dialogs(HWND except) const {
    std::vector<HWND> dialogs;
    for (HWND hWnd : TopLevelWindows())
        if (hWnd != except && ClassOf(hWnd) == "#32770")
            dialogs.push_back(hWnd);
    return dialogs;
}

HWND CWindowScout::PopupMenu() const {
    return Find("#32768");
}

std::string CWindowScout::ClassOf(HWND hWnd) {
    char buffer[256] = {};
    GetClassNameA(hWnd, buffer, sizeof(buffer));
    return buffer;
}

std::string CWindowScout::TextOf(HWND hWnd) {
    char buffer[1024] = {};
    // Another process's window: GetWindowTextA reads the caption Wine keeps for it and needs no
    // answer from that window's thread, which may be blocked.
    GetWindowTextA(hWnd, buffer, sizeof(buffer));
    return buffer;
}
