#include "sweep/cookie_sweeper.h"

std::atomic<int> g_bWatching{0};

namespace {
constexpr unsigned kPollMilliseconds = 2000;
constexpr unsigned kHideDelayMilliseconds = 1000;
// The dialog's end waits at most this long for the worker, so the program always ends
// within a second.
constexpr unsigned kShutdownWaitMilliseconds = 900;
constexpr unsigned kShutdownStepMilliseconds = 10;
} // namespace

void CCookieSweeper::StartWatching() {
    g_bWatching.store(1);
    // The watch must never run two polling loops at once: a living loop is reused, and only
    // when none is alive is a new worker started.
    int nLoop = m_nLoop.load();
    for (;;) {
        if (nLoop == 0) {
            if (m_nLoop.compare_exchange_weak(nLoop, kLoopAlive)) {
                if (!m_port.StartThread(&WatchBrowserProc, this))
                    m_nLoop.store(0);
                break;
            }
        } else if (m_nLoop.compare_exchange_weak(nLoop, nLoop | kLoopRestart)) {
            break;
        }
    }
    m_port.Sleep(kHideDelayMilliseconds);
    m_port.HideDialog();
}

void CCookieSweeper::StopWatching() {
    // The worker is not waited for: a pass that has begun its sleep still runs.
    g_bWatching.store(0);
    m_port.HideDialog();
}

void CCookieSweeper::EndWatchForShutdown() {
    g_bWatching.store(0);
    m_bClosing.store(true);
    m_port.WakeWorker();
    for (unsigned nWaited = 0; IsLoopAlive() && nWaited < kShutdownWaitMilliseconds;
         nWaited += kShutdownStepMilliseconds) {
        // Asked again at every step: a question may open just after an earlier dismissal.
        m_port.DismissQuestions();
        m_port.WaitBriefly(kShutdownStepMilliseconds);
    }
    // A worker still inside a call that does not return (a profile on a server that went away,
    // an antivirus filter) would come back into a dialog that is gone: the process ends here,
    // while everything the worker uses still exists.
    if (IsLoopAlive())
        m_port.EndProcess();
}

bool CCookieSweeper::IsBrowserOpen() {
    // Windows come and go during any walk (tooltips, menus, input-method windows): the walk is
    // the platform's own list of them, so one that goes away never hides the rest.
    bool bOpen = false;
    m_port.EnumerateWindows([&](WindowRef w) {
        if (m_port.HasOwnerOrParent(w) || m_port.TitleLength(w) == 0 || m_port.IsVisible(w) != 1)
            return true;
        CString strTitle = m_port.Title(w);
        strTitle.MakeUpper();
        bOpen = strTitle.Find("MICROSOFT INTERNET EXPLORER") != -1 ||
                strTitle.Find("WINDOWS INTERNET EXPLORER") != -1;
        return !bOpen;
    });
    return bOpen;
}

void CCookieSweeper::RunWatchPass() {
    if (!m_port.SleepUnlessWoken(kPollMilliseconds) || m_bClosing.load())
        return;
    if (IsBrowserOpen())
        m_bBrowserSeen = true;
    else
        PurgeCookies();
}

// Gives up the loop when no start came meanwhile. After a successful release the worker must
// not touch the sweeper again: the dialog may be gone the next instant.
bool CCookieSweeper::TryEndLoop() {
    int nExpected = kLoopAlive;
    if (m_nLoop.compare_exchange_strong(nExpected, 0))
        return true;
    // A start arrived while this loop was deciding: take the request and look at the flag again.
    m_nLoop.store(kLoopAlive);
    return false;
}

unsigned WatchBrowserProc(void* pParam) {
    auto* pSweeper = static_cast<CCookieSweeper*>(pParam);
    for (;;) {
        if (g_bWatching.load() == 0) {
            if (pSweeper->TryEndLoop())
                return 0;
            continue;
        }
        pSweeper->RunWatchPass();
    }
}
