#include "tests/e2e/harness/wispfold_process.h"

#include <vector>

std::string CWispfoldProcess::ToWindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return path;
    std::string result = "Z:" + path;
    for (char& ch : result)
        if (ch == '/')
            ch = '\\';
    return result;
}

bool CWispfoldProcess::Start(const std::string& exePath) {
    Terminate();
    m_strError.clear();
    const std::string winPath = ToWindowsPath(exePath);
    // CreateProcessA may write into the command line buffer, so it must not be a literal.
    std::string cmdLine = "\"" + winPath + "\"";
    std::vector<char> buffer(cmdLine.begin(), cmdLine.end());
    buffer.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(winPath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
        m_strError =
            "CreateProcessA(" + winPath + ") failed, error " + std::to_string(GetLastError());
        return false;
    }
    m_hProcess = COwnedHandle(pi.hProcess);
    m_hThread = COwnedHandle(pi.hThread);
    m_dwPid = pi.dwProcessId;
    return true;
}

bool CWispfoldProcess::IsRunning() const {
    return IsStarted() && WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT;
}

bool CWispfoldProcess::WaitExit(DWORD timeoutMs) const {
    return IsStarted() && WaitForSingleObject(m_hProcess.Get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD CWispfoldProcess::ExitCode() const {
    DWORD dwCode = STILL_ACTIVE;
    if (IsStarted())
        GetExitCodeProcess(m_hProcess.Get(), &dwCode);
    return dwCode;
}

void CWispfoldProcess::Terminate() {
    if (!IsStarted())
        return;
    if (IsRunning()) {
        TerminateProcess(m_hProcess.Get(), 1);
        // Reap it: the next test must not find this run's windows.
        WaitForSingleObject(m_hProcess.Get(), 10000);
    }
    m_hThread.Close();
    m_hProcess.Close();
    m_dwPid = 0;
}
