#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "classlib/handles.h"
#include "sweep/sweep_port.h"

// The sweep port over Win32. The dialog-side operations (message box, cancel, hide) have plain
// Win32 forms here; the main dialog overrides them with its class-library ones.
class CWin32SweepPort : public ISweepPort {
public:
    CWin32SweepPort();

    // The main dialog's window: owner of the shell call and the message boxes, and the start
    // of the window walk.
    void SetMainWindow(HWND hWnd) { m_hMainWnd = hWnd; }

    OsVersionInfo QueryVersion() override;
    CString GetCookieFolder() override;
    int AskUser(const char* pszText, unsigned nType) override;
    void CancelDialog() override;
    void HideDialog() override;

    ListResult ListFolder(const char* pszPattern, PathText text,
                          const std::function<bool(const FolderEntry& entry)>& visit) override;
    DeleteResult EraseFile(const char* pszPath) override;
    uint32_t ReadAttributes(const char* pszPath) override;
    bool ClearAttributes(const char* pszPath) override;

    std::string GetFavouritesFolder() override;
    ReadResult ReadSmallFile(const char* pszPath, PathText text, size_t nMaxBytes,
                             std::string& out) override;

    uint64_t CurrentFileTime() override;
    bool FolderMayHaveChanged(int nSlot, const char* pszFolder, PathText text) override;

    void EnumerateWindows(const std::function<bool(WindowRef w)>& visit) override;
    bool HasOwnerOrParent(WindowRef w) override;
    int TitleLength(WindowRef w) override;
    int IsVisible(WindowRef w) override;
    CString Title(WindowRef w) override;

    bool StartThread(ThreadProc proc, void* pParam) override;
    void Sleep(unsigned nMilliseconds) override;

    bool SleepUnlessWoken(unsigned nMilliseconds) override;
    void WakeWorker() override;
    void DismissQuestions() override;
    void WaitBriefly(unsigned nMilliseconds) override;
    void EndProcess() override;

protected:
    // Runs a question box and remembers the asking thread while it is open, so that the
    // dialog's end can answer it.
    template <class ShowBox> int TrackQuestion(ShowBox showBox) {
        m_dwQuestionThread.store(GetCurrentThreadId());
        const int nAnswer = showBox();
        m_dwQuestionThread.store(0);
        return nAnswer;
    }

private:
    // A change notification and the folder it watches.
    struct CFolderWatch {
        std::string strFolder;
        CHandle<HANDLE, &FindCloseChangeNotification> hChange;
    };

    HWND m_hMainWnd = nullptr;
    CFolderWatch m_watches[3];
    CKernelHandle m_hWake;
    std::atomic<DWORD> m_dwQuestionThread{0};
};
