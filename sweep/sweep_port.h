#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "classlib/cstring.h"

// The platform's numbers for what the sweep core asks of it.
constexpr uint32_t kPlatformWin32Windows = 1; // VER_PLATFORM_WIN32_WINDOWS
constexpr uint32_t kPlatformWin32NT = 2;      // VER_PLATFORM_WIN32_NT
constexpr unsigned kMbOk = 0x0;               // MB_OK
constexpr unsigned kMbYesNo = 0x4;            // MB_YESNO
constexpr int kIdYes = 6;                     // IDYES
constexpr int kIdNo = 7;                      // IDNO
constexpr uint32_t kFileAttributeReadOnly = 0x1;
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeReparsePoint = 0x400;
constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// What the version query reports.
struct OsVersionInfo {
    uint32_t dwPlatformId = 0;
    uint32_t dwMajorVersion = 0;
    uint32_t dwMinorVersion = 0;
};

// A top-level window as the window walk sees it; 0 means "no window".
using WindowRef = uintptr_t;

// How a file deletion ended. Missing: the entry no longer exists, which the purge counts as done.
enum class DeleteResult { Deleted, Missing, Failed };

// How a listing ended. Missing: the folder is not there; Failed: it is there (or may be) but
// could not be listed, such as a folder on a server that is offline, or one the user may not read.
enum class ListResult { Listed, Missing, Failed };

// How the reading of a small file ended. Missing: it went away since it was listed.
enum class ReadResult { Read, TooLarge, Missing, Failed };

// How the bytes of a path are to be taken: in the system's ANSI code page, as the cookie folders
// are named, or as UTF-8 for the Favorites, whose names may hold any character the shell can
// make (a page title's accents, Hangul, a wave dash), which code page 932 cannot.
enum class PathText { Ansi, Utf8 };

// The folders whose changes the rule that keeps the favourites' cookies follows.
constexpr int kCookieSlot = 0;
constexpr int kLowSlot = 1;
constexpr int kFavouritesSlot = 2;

// One entry of a folder as the listing gives it.
struct FolderEntry {
    const char* pszName;
    uint32_t nAttributes;
    uint64_t nSize;
    // The last write, in the file system's 100-nanosecond steps since 1601.
    uint64_t nWriteTime;
};

// The thread procedure form of the class library: untyped parameter, unsigned result.
using ThreadProc = unsigned (*)(void*);

// Every platform operation the platform gate, the purge and the browser watch need, and nothing
// else. The Windows program implements it with the Win32 calls; unit tests with fakes.
class ISweepPort {
public:
    virtual ~ISweepPort() = default;

    // Platform gate.
    virtual OsVersionInfo QueryVersion() = 0;
    // The user's cookie folder without a trailing separator added; empty when the shell cannot
    // resolve it.
    virtual CString GetCookieFolder() = 0;
    // A blocking message box owned by the main dialog; returns the answer (kIdYes, kIdNo, ...).
    virtual int AskUser(const char* pszText, unsigned nType) = 0;
    // Ends the modal dialog through the base-class cancel (not the dialog's own override).
    virtual void CancelDialog() = 0;
    // Sets the dialog's show flag to 0 and hides its window.
    virtual void HideDialog() = 0;

    // Calls visit with each entry, "." and ".." included, in the order the file system gives,
    // until visit returns false.
    virtual ListResult ListFolder(const char* pszPattern, PathText text,
                                  const std::function<bool(const FolderEntry& entry)>& visit) = 0;
    // Purge. The operations on one cookie file name exactly that file, also when its name is a
    // device's (com1.txt) or ends in a dot or a blank.
    virtual DeleteResult EraseFile(const char* pszPath) = 0;
    // The raw attribute bits (kInvalidFileAttributes when they cannot be read).
    virtual uint32_t ReadAttributes(const char* pszPath) = 0;
    // Makes the file's attributes normal; true only when the platform call returned 1.
    virtual bool ClearAttributes(const char* pszPath) = 0;

    // The rule that keeps the cookies of favourite sites. The user's Favorites folder in UTF-8,
    // without a trailing separator; empty when the shell cannot resolve it.
    virtual std::string GetFavouritesFolder() = 0;
    // The whole content of a regular file of at most nMaxBytes bytes into out. TooLarge for a
    // longer file (nothing of it is read), Failed when it cannot be opened or read, or is no
    // file on a disk (a folder, a device).
    virtual ReadResult ReadSmallFile(const char* pszPath, PathText text, size_t nMaxBytes,
                                     std::string& out) = 0;

    // What the rule remembers. The system's time in the units of a listing's last write.
    virtual uint64_t CurrentFileTime() = 0;
    // Whether the folder may have changed since the last call for the same slot (kCookieSlot,
    // kLowSlot, kFavouritesSlot, the last with its subfolders): true at the first call, after the
    // system reported a change, and every time where it cannot watch the folder. The watch is
    // renewed before true is returned, so a change during the caller's listing shows next time.
    virtual bool FolderMayHaveChanged(int nSlot, const char* pszFolder, PathText text) = 0;

    // Browser watch: visits the top-level windows in Z order until visit returns false. The
    // walk is the platform's snapshot of them: a window destroyed meanwhile never ends it early.
    virtual void EnumerateWindows(const std::function<bool(WindowRef w)>& visit) = 0;
    virtual bool HasOwnerOrParent(WindowRef w) = 0;
    virtual int TitleLength(WindowRef w) = 0;
    // IsWindowVisible's result as it is; only exactly 1 counts as visible.
    virtual int IsVisible(WindowRef w) = 0;
    virtual CString Title(WindowRef w) = 0;

    // Threads and time.
    virtual bool StartThread(ThreadProc proc, void* pParam) = 0;
    virtual void Sleep(unsigned nMilliseconds) = 0;

    // Shutdown. The worker's poll sleep, cut short for good once WakeWorker was called; returns
    // false when it was cut short.
    virtual bool SleepUnlessWoken(unsigned nMilliseconds) = 0;
    virtual void WakeWorker() = 0;
    // Answers "No" to a question box the worker has open, if any.
    virtual void DismissQuestions() = 0;
    // A short wait of the user-interface thread that still lets the worker's calls that need
    // that thread (a window title, a message box's owner) go through.
    virtual void WaitBriefly(unsigned nMilliseconds) = 0;
    // Ends the process at once: no thread of it runs another instruction.
    virtual void EndProcess() = 0;
};
