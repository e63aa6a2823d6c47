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
// The item identifier list of a special folder; empty when the shell cannot resolve it.
CTaskMem<LPITEMIDLIST> SpecialFolder(HWND hOwner, int nFolder) {
    CTaskMem<LPITEMIDLIST> pidl;
    if (FAILED(SHGetSpecialFolderLocation(hOwner, nFolder, pidl.Receive())))
        pidl.Reset();
    return pidl;
}

// A full path in the form Windows NT hands to the file system as it stands (\\?\C:\..., or
// \\?\UNC\server\... for \\server\...): "com1.txt" stays a file rather than the serial port,
// and a trailing dot or blank is not trimmed off into another file's name. The length of the
// prefix a path takes: 4, 7 for a server's path (whose first backslash gives way to it), or 0 for
// a path that has no such form or has it already.
const char kExactPrefix[] = "\\\\?\\UNC";
int ExactPrefixLength(const char* pszPath) {
    if (pszPath[0] == '\\' && pszPath[1] == '\\')
        return pszPath[2] == '?' || pszPath[2] == '.' ? 0 : 7;
    return pszPath[0] && pszPath[1] == ':' && pszPath[2] == '\\' ? 4 : 0;
}

// The ANSI calls of Windows 2000 to Vista take such a path up to MAX_PATH characters; a longer
// one cannot be a device's name and is used as it is.
CString ExactPath(const char* pszPath) {
    const int nPrefix = ExactPrefixLength(pszPath);
    CString strPath(kExactPrefix, nPrefix);
    strPath += pszPath + (nPrefix == 7);
    return strPath.GetLength() < MAX_PATH ? strPath : CString(pszPath);
}

// The Favorites' paths travel in UTF-8 and reach the wide calls in the exact form; a path that
// does not fit or convert comes out empty, which no call opens.
constexpr int kWidePathChars = 1024;
void ExactWidePath(const char* pszUtf8, wchar_t (&szPath)[kWidePathChars]) {
    const int nPrefix = ExactPrefixLength(pszUtf8);
    for (int i = 0; i < nPrefix; ++i)
        szPath[i] = static_cast<wchar_t>(kExactPrefix[i]);
    if (!MultiByteToWideChar(CP_UTF8, 0, pszUtf8 + (nPrefix == 7), -1, szPath + nPrefix,
                             kWidePathChars - nPrefix))
        szPath[0] = 0;
}

// A name of at most MAX_PATH characters in UTF-8.
struct CUtf8Name {
    explicit CUtf8Name(const wchar_t* pszWide) {
        if (!WideCharToMultiByte(CP_UTF8, 0, pszWide, -1, szName, sizeof(szName), nullptr, nullptr))
            szName[0] = 0;
    }
    char szName[MAX_PATH * 3];
};

bool IsNotThere(DWORD dwError) {
    return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
}

template <class FindData> FolderEntry EntryOf(const FindData& data, const char* pszName) {
    return {
        pszName, data.dwFileAttributes, (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
        (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}
} // namespace

CString CWin32SweepPort::GetCookieFolder() {
    const CTaskMem<LPITEMIDLIST> pidl = SpecialFolder(m_hMainWnd, CSIDL_COOKIES);
    char szPath[MAX_PATH] = {};
    return pidl && SHGetPathFromIDListA(pidl.Get(), szPath) ? CString(szPath) : CString();
}

std::string CWin32SweepPort::GetFavouritesFolder() {
    // Asked by the worker: no owner window, so the shell never waits for the dialog's thread.
    const CTaskMem<LPITEMIDLIST> pidl = SpecialFolder(nullptr, CSIDL_FAVORITES);
    wchar_t szPath[MAX_PATH] = {};
    return pidl && SHGetPathFromIDListW(pidl.Get(), szPath) ? CUtf8Name(szPath).szName
                                                            : std::string();
}

ReadResult CWin32SweepPort::ReadSmallFile(const char* pszPath, PathText text, size_t nMaxBytes,
                                          std::string& out) {
    out.clear();
    // Shared every way: the browser may be writing or deleting the file meanwhile.
    constexpr DWORD dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE hOpened;
    if (text == PathText::Ansi) {
        hOpened = CreateFileA(ExactPath(pszPath), GENERIC_READ, dwShare, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    } else {
        wchar_t szPath[kWidePathChars];
        ExactWidePath(pszPath, szPath);
        hOpened = CreateFileW(szPath, GENERIC_READ, dwShare, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    }
    if (hOpened == INVALID_HANDLE_VALUE)
        return IsNotThere(GetLastError()) ? ReadResult::Missing : ReadResult::Failed;
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

ListResult CWin32SweepPort::ListFolder(const char* pszPattern, PathText text,
                                       const std::function<bool(const FolderEntry& entry)>& visit) {
    if (text == PathText::Ansi) {
        WIN32_FIND_DATAA data;
        const HANDLE hFirst = FindFirstFileA(pszPattern, &data);
        if (hFirst == INVALID_HANDLE_VALUE)
            return IsNotThere(GetLastError()) ? ListResult::Missing : ListResult::Failed;
        const CFindHandle hFind(hFirst);
        // cFileName always ends in a zero byte within its 260 bytes.
        while (visit(EntryOf(data, data.cFileName)) && FindNextFileA(hFind.Get(), &data)) {
        }
        return ListResult::Listed;
    }
    wchar_t szPattern[kWidePathChars];
    ExactWidePath(pszPattern, szPattern);
    WIN32_FIND_DATAW data;
    const HANDLE hFirst = FindFirstFileW(szPattern, &data);
    if (hFirst == INVALID_HANDLE_VALUE)
        return IsNotThere(GetLastError()) ? ListResult::Missing : ListResult::Failed;
    const CFindHandle hFind(hFirst);
    while (visit(EntryOf(data, CUtf8Name(data.cFileName).szName)) &&
           FindNextFileW(hFind.Get(), &data)) {
    }
    return ListResult::Listed;
}

DeleteResult CWin32SweepPort::EraseFile(const char* pszPath) {
    if (DeleteFileA(ExactPath(pszPath)))
        return DeleteResult::Deleted;
    return IsNotThere(GetLastError()) ? DeleteResult::Missing : DeleteResult::Failed;
}

uint32_t CWin32SweepPort::ReadAttributes(const char* pszPath) {
    return GetFileAttributesA(ExactPath(pszPath));
}

bool CWin32SweepPort::ClearAttributes(const char* pszPath) {
    return SetFileAttributesA(ExactPath(pszPath), FILE_ATTRIBUTE_NORMAL) == 1;
}

uint64_t CWin32SweepPort::CurrentFileTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

// A change notification is a signal, not a list: nothing of it can overflow and be lost. Where
// the system cannot watch a folder (a server that does not notify, a folder that is not there),
// every call says it may have changed, and the caller lists it as it would without a watch.
bool CWin32SweepPort::FolderMayHaveChanged(int nSlot, const char* pszFolder, PathText text) {
    CFolderWatch& watch = m_watches[nSlot];
    if (!watch.hChange || watch.strFolder != pszFolder) {
        watch.strFolder = pszFolder;
        constexpr DWORD dwFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                   FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                   FILE_NOTIFY_CHANGE_LAST_WRITE;
        // The Favorites with their subfolders.
        const BOOL bSubtree = nSlot == kFavouritesSlot;
        HANDLE hChange;
        if (text == PathText::Ansi) {
            hChange = FindFirstChangeNotificationA(pszFolder, bSubtree, dwFilter);
        } else {
            wchar_t szFolder[kWidePathChars];
            ExactWidePath(pszFolder, szFolder);
            hChange = FindFirstChangeNotificationW(szFolder, bSubtree, dwFilter);
        }
        watch.hChange.Reset(hChange == INVALID_HANDLE_VALUE ? nullptr : hChange);
        return true;
    }
    if (WaitForSingleObject(watch.hChange.Get(), 0) == WAIT_TIMEOUT)
        return false;
    if (!FindNextChangeNotification(watch.hChange.Get()))
        watch.hChange.Reset();
    return true;
}

namespace {
BOOL CALLBACK VisitWindow(HWND hWnd, LPARAM lParam) {
    return (*reinterpret_cast<const std::function<bool(WindowRef)>*>(lParam))(
        reinterpret_cast<WindowRef>(hWnd));
}
} // namespace

// EnumWindows takes its own list of the top-level windows before it calls back, unlike a walk
// with GetWindow(GW_HWNDNEXT), which ends early when the window it stands on is destroyed.
void CWin32SweepPort::EnumerateWindows(const std::function<bool(WindowRef w)>& visit) {
    EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&visit));
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

void CWin32SweepPort::EndProcess() {
    // No code of this process runs after this: neither the stuck worker nor a library's exit
    // handler that might wait for a lock the worker holds.
    TerminateProcess(GetCurrentProcess(), 0);
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
