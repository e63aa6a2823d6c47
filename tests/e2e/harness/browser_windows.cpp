#include "tests/e2e/harness/browser_windows.h"

#include <algorithm>

#include "tests/e2e/harness/owned_handle.h"

namespace {

constexpr char kClassName[] = "WispfoldE2eBrowser";
constexpr UINT kRunJob = WM_APP + 1;

struct Job {
    const std::function<HWND()>* work;
    HWND result;
    HANDLE done;
};

// Lambdas do not convert to WNDPROC on i686 (calling convention), hence a plain procedure.
LRESULT CALLBACK BrowserProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

} // namespace

CBrowserWindows::CBrowserWindows() {
    COwnedHandle hReady(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE hReadyRaw = hReady.Get();
    m_thread = std::thread([this, hReadyRaw] {
        m_dwThreadId = GetCurrentThreadId();
        // The first PeekMessage gives the thread its message queue; jobs posted before that
        // would be lost.
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
        SetEvent(hReadyRaw);
        ThreadMain();
    });
    WaitForSingleObject(hReady.Get(), INFINITE);
}

CBrowserWindows::~CBrowserWindows() {
    DestroyAll();
    PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
    m_thread.join();
}

void CBrowserWindows::ThreadMain() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BrowserProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == kRunJob) {
            auto* job = reinterpret_cast<Job*>(msg.lParam);
            job->result = (*job->work)();
            SetEvent(job->done);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

HWND CBrowserWindows::RunOnThread(const std::function<HWND()>& work) {
    COwnedHandle hDone(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    Job job{&work, nullptr, hDone.Get()};
    if (!PostThreadMessageA(m_dwThreadId, kRunJob, 0, reinterpret_cast<LPARAM>(&job)))
        return nullptr;
    WaitForSingleObject(hDone.Get(), INFINITE);
    return job.result;
}

HWND CBrowserWindows::Create(const std::string& title, Kind kind) {
    return RunOnThread([this, &title, kind]() -> HWND {
        HINSTANCE hInst = GetModuleHandleA(nullptr);
        HWND hOwner = nullptr;
        DWORD style = WS_OVERLAPPEDWINDOW;
        if (kind == Kind::Owned) {
            hOwner = CreateWindowExA(0, kClassName, "Owner of a popup", WS_OVERLAPPEDWINDOW, 40, 40,
                                     300, 200, nullptr, nullptr, hInst, nullptr);
            if (hOwner == nullptr)
                return nullptr;
            ShowWindow(hOwner, SW_SHOWNOACTIVATE);
            m_windows.push_back(hOwner);
            // GetParent reports the owner only for popup windows; an owned overlapped window
            // answers null there like an unowned one.
            style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        }
        HWND hWnd = CreateWindowExA(0, kClassName, title.c_str(), style, 60, 60, 320, 240, hOwner,
                                    nullptr, hInst, nullptr);
        if (hWnd == nullptr)
            return nullptr;
        m_windows.push_back(hWnd);
        if (kind == Kind::Minimised)
            ShowWindow(hWnd, SW_SHOWMINNOACTIVE);
        else if (kind != Kind::Hidden)
            ShowWindow(hWnd, SW_SHOWNOACTIVATE);
        return hWnd;
    });
}

void CBrowserWindows::Destroy(HWND hWnd) {
    RunOnThread([this, hWnd]() -> HWND {
        DestroyWindow(hWnd);
        m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), hWnd), m_windows.end());
        return nullptr;
    });
}

void CBrowserWindows::DestroyAll() {
    RunOnThread([this]() -> HWND {
        // Owned popups first: destroying an owner takes its popups with it.
        for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it)
            if (IsWindow(*it))
                DestroyWindow(*it);
        m_windows.clear();
        return nullptr;
    });
}

size_t CBrowserWindows::Count() {
    size_t count = 0;
    RunOnThread([this, &count]() -> HWND {
        count = static_cast<size_t>(
            std::count_if(m_windows.begin(), m_windows.end(), [](HWND h) { return IsWindow(h); }));
        return nullptr;
    });
    return count;
}
