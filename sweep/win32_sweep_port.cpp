#include "sweep/win32_sweep_port.h"

#include <shlobj.h>

#include <utility>
#include <vector>

// Manual reset: once woken for the dialog's end, every later poll sleep returns at once.
CWin32SweepPort::CWin32SweepPort() : m_hWake(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

OsVersionInfo CWin32SweepPort::QueryVersion() {
    OSVERSIONINFOA info{};
    // The plain record, not the EX one: the size field says 148 bytes.
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    static_assert(sizeof(OSVERSIONINFOA) == 148);
    GetVersionExA(&info);
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

namespace {
CString SpecialFolder(HWND hOwner, int nFolder) {
    CTaskMem<LPITEMIDLIST> pidl;
    if (FAILED(SHGetSpecialFolderLocation(hOwner, nFolder, pidl.Receive())) || !pidl)
        return CString();
    char szPath[MAX_PATH] = {};
    return SHGetPathFromIDListA(pidl.Get(), szPath) ? CString(szPath) : CString();
}
} // namespace

CString CWin32SweepPort::GetCookieFolder() {
    return SpecialFolder(m_hMainWnd, CSIDL_COOKIES);
}

CString CWin32SweepPort::GetFavouritesFolder() {
    // Asked by the worker: no owner window, so the shell never waits for the dialog's thread.
    return SpecialFolder(nullptr, CSIDL_FAVORITES);
}

ReadResult CWin32SweepPort::ReadSmallFile(const char* pszPath, size_t nMaxBytes, std::string& out) {
    out.clear();
    // Shared every way: the browser may be writing or deleting the file meanwhile.
    const HANDLE hOpened =
        CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hOpened == INVALID_HANDLE_VALUE)
        return ReadResult::Failed;
    const CKernelHandle hFile(hOpened);
    // A name such as "con.txt" opens a device on Windows 2000 and XP; reading it could block.
    if (GetFileType(hFile.Get()) != FILE_TYPE_DISK)
        return ReadResult::Failed;
    DWORD dwHigh = 0;
    const DWORD dwSize = GetFileSize(hFile.Get(), &dwHigh);
    if (dwSize == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return ReadResult::Failed;
    if (dwHigh != 0 || dwSize > nMaxBytes)
        return ReadResult::TooLarge;
    out.resize(dwSize);
    DWORD dwTotal = 0;
    // A file that shrinks meanwhile ends the reading early; one that grows is read up to the
    // size seen.
    while (dwTotal < dwSize) {
        DWORD dwGot = 0;
        if (!ReadFile(hFile.Get(), out.data() + dwTotal, dwSize - dwTotal, &dwGot, nullptr)) {
            out.clear();
            return ReadResult::Failed;
        }
        if (dwGot == 0)
            break;
        dwTotal += dwGot;
    }
    out.resize(dwTotal);
    return ReadResult::Read;
}

int CWin32SweepPort::AskUser(const char* pszText, unsigned nType) {
    const unsigned nIcon = (nType & MB_TYPEMASK) == MB_OK ? MB_ICONEXCLAMATION : MB_ICONQUESTION;
    return TrackQuestion(
        [&] { return MessageBoxA(m_hMainWnd, pszText, "Wispfold", nType | nIcon); });
}

void CWin32SweepPort::CancelDialog() {
    if (m_hMainWnd)
        EndDialog(m_hMainWnd, IDCANCEL);
}

void CWin32SweepPort::HideDialog() {
    if (m_hMainWnd)
        ShowWindow(m_hMainWnd, SW_HIDE);
}

bool CWin32SweepPort::ListFolder(const char* pszPattern,
                                 const std::function<bool(const char* pszName)>& visit) {
    WIN32_FIND_DATAA data;
    const HANDLE hFirst = FindFirstFileA(pszPattern, &data);
    if (hFirst == INVALID_HANDLE_VALUE)
        return false;
    const CFindHandle hFind(hFirst);
    do {
        // cFileName always ends in a zero byte within its 260 bytes.
        if (!visit(data.cFileName))
            break;
    } while (FindNextFileA(hFind.Get(), &data));
    return true;
}

DeleteResult CWin32SweepPort::EraseFile(const char* pszPath) {
    if (DeleteFileA(pszPath))
        return DeleteResult::Deleted;
    const DWORD dwError = GetLastError();
    if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND)
        return DeleteResult::Missing;
    return DeleteResult::Failed;
}

uint32_t CWin32SweepPort::ReadAttributes(const char* pszPath) {
    return GetFileAttributesA(pszPath);
}

bool CWin32SweepPort::ClearAttributes(const char* pszPath) {
    return SetFileAttributesA(pszPath, FILE_ATTRIBUTE_NORMAL) == 1;
}

WindowRef CWin32SweepPort::FirstWindow() {
    return reinterpret_cast<WindowRef>(GetWindow(m_hMainWnd, GW_HWNDFIRST));
}

WindowRef CWin32SweepPort::NextWindow(WindowRef w) {
    return reinterpret_cast<WindowRef>(GetWindow(reinterpret_cast<HWND>(w), GW_HWNDNEXT));
}

bool CWin32SweepPort::HasOwnerOrParent(WindowRef w) {
    return GetParent(reinterpret_cast<HWND>(w)) != nullptr;
}

int CWin32SweepPort::TitleLength(WindowRef w) {
    return GetWindowTextLengthA(reinterpret_cast<HWND>(w));
}

int CWin32SweepPort::IsVisible(WindowRef w) {
    return IsWindowVisible(reinterpret_cast<HWND>(w));
}

CString CWin32SweepPort::Title(WindowRef w) {
    HWND hWnd = reinterpret_cast<HWND>(w);
    const int nLength = GetWindowTextLengthA(hWnd);
    if (nLength <= 0)
        return CString();
    // The title may change between the two calls: read into a buffer of the length seen and
    // keep what came back.
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1);
    const int nGot = GetWindowTextA(hWnd, buffer.data(), nLength + 1);
    return CString(buffer.data(), nGot > 0 ? nGot : 0);
}

namespace {
struct ThreadStart {
    ThreadProc proc;
    void* pParam;
};

DWORD WINAPI ThreadTrampoline(LPVOID pStart) {
    const ThreadStart start = *static_cast<ThreadStart*>(pStart);
    delete static_cast<ThreadStart*>(pStart);
    return start.proc(start.pParam);
}
} // namespace

bool CWin32SweepPort::StartThread(ThreadProc proc, void* pParam) {
    auto* pStart = new ThreadStart{proc, pParam};
    // The worker is not joined through its handle; the sweeper knows when its loop ended.
    const CKernelHandle hThread(CreateThread(nullptr, 0, &ThreadTrampoline, pStart, 0, nullptr));
    if (!hThread)
        delete pStart;
    return static_cast<bool>(hThread);
}

void CWin32SweepPort::Sleep(unsigned nMilliseconds) {
    ::Sleep(nMilliseconds);
}

bool CWin32SweepPort::SleepUnlessWoken(unsigned nMilliseconds) {
    return WaitForSingleObject(m_hWake.Get(), nMilliseconds) == WAIT_TIMEOUT;
}

void CWin32SweepPort::WakeWorker() {
    SetEvent(m_hWake.Get());
}

namespace {
BOOL CALLBACK AnswerNo(HWND hWnd, LPARAM) {
    char szClass[16] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    // A message box is a dialog of the system class "#32770"; posting IDNO answers it as the
    // "いいえ" button would.
    if (lstrcmpA(szClass, "#32770") == 0)
        PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    return TRUE;
}
} // namespace

void CWin32SweepPort::DismissQuestions() {
    const DWORD dwThread = m_dwQuestionThread.load();
    if (dwThread != 0 && dwThread != GetCurrentThreadId())
        EnumThreadWindows(dwThread, &AnswerNo, 0);
}

void CWin32SweepPort::WaitBriefly(unsigned nMilliseconds) {
    // Waits for sent messages only: the worker's GetWindowText on the dialog and its message
    // box's owner calls are sent to this thread and would otherwise wait for us.
    const DWORD dwEnd = GetTickCount() + nMilliseconds;
    for (;;) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD dwNow = GetTickCount();
        if (static_cast<LONG>(dwEnd - dwNow) <= 0)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, dwEnd - dwNow, QS_SENDMESSAGE);
    }
}
