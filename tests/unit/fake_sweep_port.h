#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sweep/sweep_port.h"

// An in-memory platform for the sweep core: a folder tree, a window list, scripted answers to
// message boxes, and real threads whose poll sleeps the test can release one at a time.
class CFakeSweepPort : public ISweepPort {
public:
    struct Entry {
        bool bDirectory = false;
        bool bReadOnly = false;
        bool bLocked = false;     // deletion fails even when not read-only
        bool bClearFails = false; // making it normal fails
        bool bVanishes = false;   // listed, but gone by the time it is deleted
        bool bUnreadable = false; // opening it for reading (a folder: listing it) fails
        std::string strContent;
        bool bLink = false;         // a folder that is a link (a reparse point)
        bool bBlocks = false;       // its deletion blocks until ReleaseBlocked
        bool bNoAttributes = false; // its attributes cannot be read
        uint64_t nWriteTime = 0;    // 0: written at the fake's present time
    };
    struct Window {
        bool bOwned = false;
        int nVisible = 1;
        std::string strTitle;
        bool bVanishes = false; // destroyed before the walk reaches it
    };
    struct Question {
        std::string strText;
        unsigned nType;
    };

    ~CFakeSweepPort() override;

    // Folder tree, keyed by full path; a folder's own key ends in a backslash.
    void AddFolder(const std::string& strPath);
    void AddFile(const std::string& strPath) { AddFile(strPath, Entry()); }
    void AddFile(const std::string& strPath, Entry entry);
    bool Exists(const std::string& strPath) const;
    std::vector<std::string> Listing(const std::string& strFolder) const;

    // Yes/No questions: answers are taken from the front; with none left the question blocks
    // until DismissQuestions (or the test) answers it. OK boxes return at once.
    void QueueAnswers(std::initializer_list<int> answers);
    std::vector<Question> Questions() const;
    // Blocks until at least n questions were asked.
    bool WaitForQuestions(size_t n);
    void Answer(int nAnswer);

    // Poll sleeps: in manual mode each SleepUnlessWoken waits for ReleaseSleep; otherwise it
    // passes after a millisecond.
    void SetManualSleeps(bool bManual) { m_bManualSleeps = bManual; }
    bool WaitForSleepers(int n);
    void ReleaseSleep();

    // Waits (a bounded real time) until the predicate holds.
    template <class Pred> static bool Eventually(Pred pred) {
        for (int i = 0; i < 4000; ++i) {
            if (pred())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return pred();
    }
    void JoinThreads();
    // A deletion that blocks: until a worker is inside it, and its release. Once the process
    // has ended, the worker inside never returns from it.
    bool WaitForBlocked();
    void ReleaseBlocked();

    OsVersionInfo m_version{kPlatformWin32NT, 5, 1};
    CString m_strCookieFolder{"C:\\Cookies"};
    std::atomic<int> m_nFileReads{0};
    std::vector<Window> m_windows;

    std::atomic<int> m_nCookieFolderCalls{0};
    std::atomic<int> m_nCancels{0};
    std::atomic<int> m_nHides{0};
    std::atomic<int> m_nThreadsAtHide{-1};
    size_t m_nSleepsAtHide = 0;
    std::atomic<int> m_nThreadsStarted{0};
    std::atomic<int> m_nWalks{0};
    std::atomic<int> m_nWindowVisits{0};
    // The clock of the files' stamps, in 100 ns steps; AddFile stamps a file with it.
    std::atomic<uint64_t> m_nNow{130000000000000000};
    // Where no folder can be watched, every one may always have changed.
    bool m_bUnwatchable = false;
    std::atomic<int> m_nProcessEnds{0};
    std::atomic<int> m_nStranded{0}; // workers left inside a call when the process ended
    std::atomic<int> m_nClearCalls{0};
    std::atomic<int> m_nMaxWorkInFlight{0};
    std::atomic<bool> m_bWorkDelay{false};
    std::atomic<bool> m_bBusyPolling{false}; // poll sleeps return at once
    std::vector<std::string> m_listedPatterns;
    std::vector<unsigned> m_uiSleeps;
    std::atomic<unsigned> m_uiPollSleep{0}; // the period the last poll sleep asked for
    // When non-zero, waking the worker also answers an open question with this: the user's
    // click that lands just as the dialog begins to end.
    int m_nAnswerOnWake = 0;

    OsVersionInfo QueryVersion() override { return m_version; }
    CString GetCookieFolder() override;
    int AskUser(const char* pszText, unsigned nType) override;
    void CancelDialog() override { ++m_nCancels; }
    void HideDialog() override;

    ListResult ListFolder(const char* pszPattern, PathText text,
                          const std::function<bool(const FolderEntry& entry)>& visit) override;
    DeleteResult EraseFile(const char* pszPath) override;
    uint32_t ReadAttributes(const char* pszPath) override;
    bool ClearAttributes(const char* pszPath) override;

    std::string GetFavouritesFolder() override { return "C:\\Favorites"; }
    ReadResult ReadSmallFile(const char* pszPath, PathText text, size_t nMaxBytes,
                             std::string& out) override;
    uint64_t CurrentFileTime() override { return m_nNow; }
    // Any change of the fake's files counts as a change of every folder.
    bool FolderMayHaveChanged(int nSlot, const char*, PathText) override {
        return std::exchange(m_nSeenChanges[nSlot], m_nChanges.load()) != m_nChanges ||
               m_bUnwatchable;
    }
    void EnumerateWindows(const std::function<bool(WindowRef w)>& visit) override;
    bool HasOwnerOrParent(WindowRef w) override { return At(w).bOwned; }
    int TitleLength(WindowRef w) override { return static_cast<int>(At(w).strTitle.size()); }
    int IsVisible(WindowRef w) override { return At(w).nVisible; }
    CString Title(WindowRef w) override { return CString(At(w).strTitle.c_str()); }

    bool StartThread(ThreadProc proc, void* pParam) override;
    void Sleep(unsigned nMilliseconds) override;

    bool SleepUnlessWoken(unsigned nMilliseconds) override;
    void WakeWorker() override;
    void DismissQuestions() override;
    void WaitBriefly(unsigned nMilliseconds) override;
    void EndProcess() override { ++m_nProcessEnds; }

private:
    std::map<std::string, Entry>::iterator Lookup(const char* pszPath);
    // A window that went away answers as a destroyed one: no owner, no title, not visible.
    const Window& At(WindowRef w) const {
        static const Window gone{false, 0, "", true};
        return m_windows.at(w - 1).bVanishes ? gone : m_windows.at(w - 1);
    }
    // Marks the span of a listing or a window walk: two polling loops would overlap here.
    void EnterWork();
    void LeaveWork();

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::map<std::string, Entry> m_entries; // ordered: the listing order is the key order
    std::deque<int> m_answers;
    std::vector<Question> m_questions;
    int m_nPendingAnswer = 0;
    int m_nAsking = 0;
    bool m_bWoken = false;
    bool m_bManualSleeps = false;
    int m_nBlocked = 0;
    std::atomic<int> m_nChanges{0};
    int m_nSeenChanges[3] = {-1, -1, -1};
    bool m_bUnblocked = false;
    int m_nSleepers = 0;
    int m_nSleepTickets = 0;
    std::atomic<int> m_nWorkInFlight{0};
    // Workers with a mark they set when their procedure returned: ended ones are joined when the
    // next starts, so a test that starts thousands keeps few.
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> pEnded;
    };
    std::vector<Worker> m_threads;
};
