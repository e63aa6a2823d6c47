// Stands in for a taskbar that is not ready yet, as at logon: a window of the taskbar's class,
// above the real one so that the shell's icon calls reach it first, that refuses every add.
// Wine's own taskbar is there from the desktop's first instant, so a test holds it back this
// way. Each refused call is written as one line to the file named on the command line; after
// the given number of refusals (or a minute) the stand-in ends and the real taskbar answers.
// Usage: busy_taskbar.exe LOG_FILE REFUSALS
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

FILE* g_pLog = nullptr;
int g_nLeft = 0;

LRESULT CALLBACK TrayProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_COPYDATA) {
        std::fputs("refused\n", g_pLog);
        std::fflush(g_pLog);
        if (--g_nLeft <= 0)
            PostQuitMessage(0);
        return FALSE;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    if (__argc != 3)
        return 2;
    g_pLog = std::fopen(__argv[1], "w");
    g_nLeft = std::atoi(__argv[2]);
    if (g_pLog == nullptr || g_nLeft <= 0)
        return 2;
    WNDCLASSA wc{};
    wc.lpfnWndProc = TrayProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "Shell_TrayWnd";
    if (!RegisterClassA(&wc))
        return 1;
    // Hidden, and topmost so that it comes before the real taskbar in the window list.
    const HWND hWnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "",
                                      WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, hInstance, nullptr);
    if (hWnd == nullptr)
        return 1;
    std::fputs("ready\n", g_pLog);
    std::fflush(g_pLog);
    SetTimer(hWnd, 1, 60000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            break;
        DispatchMessageA(&msg);
    }
    DestroyWindow(hWnd);
    std::fclose(g_pLog);
    return 0;
}
