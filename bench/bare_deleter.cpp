// The reference for the purge benchmark: the least a purge of the cookie folder can do. It waits
// the same 2 s the watch waits before its first pass (a loop that runs the instant its process
// starts is slower under Wine), then deletes every name containing ".txt" with one
// FindFirstFileA/FindNextFileA/DeleteFileA loop, and ends a second later. Exit code: 0, or 1 when
// the folder cannot be resolved or listed. Built with WISPFOLD_READ_FIRST, it is the reference
// for a rule that reads records: each file is opened, read once and closed before its deletion.
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char szDir[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, szDir, CSIDL_COOKIES, FALSE))
        return 1;
    Sleep(2000);
    char szPattern[MAX_PATH + 8];
    std::snprintf(szPattern, sizeof(szPattern), "%s\\*.*", szDir);
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA(szPattern, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return 1;
    char szPath[2 * MAX_PATH + 2];
    do {
        if (std::strstr(data.cFileName, ".txt") == nullptr)
            continue;
        std::snprintf(szPath, sizeof(szPath), "%s\\%s", szDir, data.cFileName);
#ifdef WISPFOLD_READ_FIRST
        const HANDLE hFile =
            CreateFileA(szPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (hFile != INVALID_HANDLE_VALUE) {
            static char buffer[4096];
            DWORD dwGot = 0;
            ReadFile(hFile, buffer, sizeof(buffer), &dwGot, nullptr);
            CloseHandle(hFile);
        }
#endif
        DeleteFileA(szPath);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    // The timer samples this process's run time when it reads the last deletion: a process that
    // ended at once would take its figure with it.
    Sleep(1000);
    return 0;
}
