#pragma once

#include <windows.h>

#include <string>

#include "tests/e2e/harness/owned_handle.h"

// The program under test as a child process: started by path, watched through its process
// handle, and always terminated and reaped when this object goes (never found by name).
class CWispfoldProcess {
public:
    CWispfoldProcess() = default;
    CWispfoldProcess(const CWispfoldProcess&) = delete;
    CWispfoldProcess& operator=(const CWispfoldProcess&) = delete;
    ~CWispfoldProcess() { Terminate(); }

    // A Unix path as the build knows it becomes the drive Z: path Wine maps the Unix root to;
    // a path that already is a Windows path is returned unchanged.
    static std::string ToWindowsPath(const std::string& path);

    // Starts the executable; false (with the reason in Error()) when CreateProcessA fails.
    bool Start(const std::string& exePath);

    bool IsStarted() const { return static_cast<bool>(m_hProcess); }
    // The Windows process id, the one GetWindowThreadProcessId reports for its windows.
    DWORD Pid() const { return m_dwPid; }
    bool IsRunning() const;
    // True when the process ended within timeoutMs.
    bool WaitExit(DWORD timeoutMs) const;
    DWORD ExitCode() const;
    const std::string& Error() const { return m_strError; }

    // Ends a running process by its handle and waits until it is gone; harmless when it has
    // already ended or was never started.
    void Terminate();

private:
    COwnedHandle m_hProcess;
    COwnedHandle m_hThread;
    DWORD m_dwPid = 0;
    std::string m_strError;
};
