#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

// Stand-ins for browser windows: top-level windows with chosen titles, made and destroyed on a
// helper thread of the test process that runs its own message loop, so that they answer like
// the windows of a living program.
class CBrowserWindows {
public:
    enum class Kind {
        Visible,   // an ordinary visible, unowned top-level window
        Hidden,    // the same, never shown
        Owned,     // visible, but a popup owned by another visible window of ours
        Minimised, // visible and minimised
    };

    CBrowserWindows();
    CBrowserWindows(const CBrowserWindows&) = delete;
    CBrowserWindows& operator=(const CBrowserWindows&) = delete;
    ~CBrowserWindows();

    // Creates one window; null when creation failed.
    HWND Create(const std::string& title, Kind kind);
    void Destroy(HWND hWnd);
    // Destroys every window made here, owners included.
    void DestroyAll();
    // How many windows made here still exist.
    size_t Count();

private:
    // Runs a job on the helper thread and waits for its result.
    HWND RunOnThread(const std::function<HWND()>& job);
    void ThreadMain();

    std::thread m_thread;
    DWORD m_dwThreadId = 0;
    // Touched only on the helper thread.
    std::vector<HWND> m_windows;
};
