#pragma once

#include <atomic>

#include "classlib/cstring.h"
#include "sweep/favourite_sites.h"
#include "sweep/sweep_port.h"

// The platform class fixed at start-up.
enum SweepMode : int32_t {
    SWEEP_NONE = 0,
    SWEEP_FOLDER = 1,
    SWEEP_FOLDER_AND_LOW = 2,
};

// Non-zero while the watch is on. Written by the user-interface thread, read by the worker.
extern std::atomic<int> g_bWatching;

// The worker's thread procedure; the parameter is the CCookieSweeper (the main dialog).
unsigned WatchBrowserProc(void* pParam);

// The sweep state and operations that the main dialog carries: the platform gate, the cookie
// purge and the browser watch, over one port of platform operations.
class CCookieSweeper {
public:
    explicit CCookieSweeper(ISweepPort& port) : m_port(port) {}
    CCookieSweeper(const CCookieSweeper&) = delete;
    CCookieSweeper& operator=(const CCookieSweeper&) = delete;
    virtual ~CCookieSweeper() = default;

    // Classifies the platform and resolves the cookie folder. On a refusal it shows the one
    // message, ends the dialog and returns false.
    bool RunPlatformGate();

    void PurgeCookies();
    void DeleteCookieFiles(CString strFolder);

    void StartWatching();
    void StopWatching();
    // For the dialog's end: stops the watch, cuts the worker's sleep short, answers an open
    // question with "No" and waits (bounded) until no loop is alive; when the wait runs out, the
    // process ends instead of returning. Nothing is deleted after this returns.
    void EndWatchForShutdown();

    // The rule that keeps the cookie files of the user's favourite sites. Set on the
    // user-interface thread; the worker reads it once at the start of each pass.
    void SetKeepFavourites(bool bKeep) { m_bKeepFavourites.store(bKeep); }

    // What the favourites' rule knows (for tests and measurements).
    const CFavouriteSites& FavouriteSites() const { return m_favourites; }

    // True while a polling loop is alive (for tests and the dialog's end).
    bool IsLoopAlive() const { return m_nLoop.load() != 0; }

    CString m_strCookieDir;
    SweepMode m_nSweepMode = SWEEP_NONE;

protected:
    ISweepPort& m_port;

private:
    friend unsigned WatchBrowserProc(void* pParam);

    void RefusePlatform();
    bool IsBrowserOpen();
    void RunWatchPass();
    bool TryEndLoop();
    CFavouriteSites& Favourites();

    // Loop ownership: kLoopAlive while a worker polls; kLoopRestart marks a start that came
    // while that worker was deciding whether to end.
    static constexpr int kLoopAlive = 1;
    static constexpr int kLoopRestart = 2;
    std::atomic<int> m_nLoop{0};
    std::atomic<bool> m_bClosing{false};
    std::atomic<bool> m_bKeepFavourites{false};
    // The purge's own, used by its worker only: what the rule knows, brought up to date by each
    // pass that keeps favourites; for each cookie folder, whether its last listing found only
    // kept files, and under which generation of that knowledge.
    CFavouriteSites m_favourites;
    bool m_bKeepThisPass = false;
    bool m_bFavouritesRead = false;
    bool m_bBrowserSeen = false;
    bool m_bSettled[2] = {};
    unsigned m_nSettledIn[2] = {};
};
