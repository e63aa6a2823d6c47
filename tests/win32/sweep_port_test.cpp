#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "sweep/cookie_sweeper.h"
#include "sweep/win32_sweep_port.h"

namespace {
std::string g_strSelf;

// Runs a program of the host in a folder (Wine starts a Unix program by its path on drive Z:).
void RunUnix(std::string strCommand, const std::string& strFolder) {
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (CreateProcessA(nullptr, strCommand.insert(0, "Z:").data(), nullptr, nullptr, FALSE, 0,
                       nullptr, strFolder.c_str(), &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

// A fresh folder under the prefix's temporary folder, removed with everything in it.
class TempFolder {
public:
    explicit TempFolder(const char* pszTag = "") {
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        m_strPath =
            std::string(szTemp) + "wfsweep" + pszTag + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_strPath.c_str(), nullptr);
    }
    ~TempFolder() { Remove(m_strPath); }
    const std::string& Path() const { return m_strPath; }
    void AddFile(const std::string& strName, DWORD dwAttributes = FILE_ATTRIBUTE_NORMAL) const {
        AddFileWith(strName, "cookie", dwAttributes);
    }
    // Made through the \\?\ form, so that a device's name or a trailing dot is a file's.
    void AddFileWith(const std::string& strName, const std::string& content,
                     DWORD dwAttributes = FILE_ATTRIBUTE_NORMAL) const {
        HANDLE h = CreateFileA(("\\\\?\\" + m_strPath + strName).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, dwAttributes, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << strName;
        DWORD dwWritten = 0;
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &dwWritten, nullptr);
        CloseHandle(h);
    }

private:
    // With the wide calls: a name outside code page 932 is removed too.
    static void Remove(const std::string& strDir) {
        const std::wstring dir(strDir.begin(), strDir.end()); // the temporary folder is ASCII
        WIN32_FIND_DATAW data;
        const HANDLE h = FindFirstFileW((dir + L"*").c_str(), &data);
        for (BOOL bMore = h != INVALID_HANDLE_VALUE; bMore; bMore = FindNextFileW(h, &data)) {
            const std::wstring name = data.cFileName, path = L"\\\\?\\" + dir + name;
            if (name == L"." || name == L"..")
                continue;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            // A link goes as a link: what it leads to is not this folder's.
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RunUnix("/bin/rm " + std::string(name.begin(), name.end()), strDir);
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                Remove(strDir + std::string(name.begin(), name.end()) + "\\");
            else
                DeleteFileW(path.c_str());
        }
        if (h != INVALID_HANDLE_VALUE)
            FindClose(h);
        RemoveDirectoryA(strDir.c_str());
    }
    std::string m_strPath;
};

std::vector<std::string> List(CWin32SweepPort& port, const std::string& strPattern, bool* pOpened,
                              PathText text = PathText::Ansi) {
    std::vector<std::string> names;
    *pOpened = port.ListFolder(strPattern.c_str(), text, [&](const FolderEntry& entry) {
        names.push_back(entry.pszName);
        return true;
    }) == ListResult::Listed;
    std::sort(names.begin(), names.end());
    return names;
}

// Polls for up to 10 s.
template <class Pred> bool WaitUntil(Pred pred) {
    for (int i = 0; i < 400; ++i, ::Sleep(25))
        if (pred())
            return true;
    return false;
}

bool FileExists(const std::string& strPath) {
    return GetFileAttributesA(("\\\\?\\" + strPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

TEST(Win32Files, ListsEveryEntryIncludingDotsAndFolders) {
    TempFolder dir;
    dir.AddFile("a.txt");
    dir.AddFile("b.dat");
    CreateDirectoryA((dir.Path() + "x.txt").c_str(), nullptr);
    CWin32SweepPort port;

    bool bOpened = false;
    EXPECT_EQ(List(port, dir.Path() + "*.*", &bOpened),
              (std::vector<std::string>{".", "..", "a.txt", "b.dat", "x.txt"}));
    EXPECT_TRUE(bOpened);

    List(port, dir.Path() + "Low\\*.*", &bOpened);
    EXPECT_FALSE(bOpened) << "a missing folder cannot be listed";
}

TEST(Win32Files, DeletionReportsDoneGoneAndFailed) {
    TempFolder dir;
    dir.AddFile("a.txt");
    dir.AddFile("ro.txt", FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((dir.Path() + "x.txt").c_str(), nullptr);
    CWin32SweepPort port;

    EXPECT_EQ(port.EraseFile((dir.Path() + "a.txt").c_str()), DeleteResult::Deleted);
    EXPECT_FALSE(FileExists(dir.Path() + "a.txt"));
    EXPECT_EQ(port.EraseFile((dir.Path() + "a.txt").c_str()), DeleteResult::Missing);
    EXPECT_EQ(port.EraseFile((dir.Path() + "nothere\\a.txt").c_str()), DeleteResult::Missing);
    EXPECT_EQ(port.EraseFile((dir.Path() + "ro.txt").c_str()), DeleteResult::Failed);
    EXPECT_TRUE(FileExists(dir.Path() + "ro.txt"));
    EXPECT_EQ(port.EraseFile((dir.Path() + "x.txt").c_str()), DeleteResult::Failed);
}

TEST(Win32Files, ReadOnlyIsSeenAndCleared) {
    TempFolder dir;
    dir.AddFile("ro.txt", FILE_ATTRIBUTE_READONLY);
    dir.AddFile("rw.txt");
    const std::string ro = dir.Path() + "ro.txt";
    CWin32SweepPort port;

    EXPECT_NE(port.ReadAttributes(ro.c_str()) & kFileAttributeReadOnly, 0u);
    EXPECT_EQ(port.ReadAttributes((dir.Path() + "rw.txt").c_str()) & kFileAttributeReadOnly, 0u);
    EXPECT_EQ(port.ReadAttributes((dir.Path() + "none.txt").c_str()), kInvalidFileAttributes);

    EXPECT_TRUE(port.ClearAttributes(ro.c_str()));
    EXPECT_EQ(port.ReadAttributes(ro.c_str()) & kFileAttributeReadOnly, 0u);
    EXPECT_EQ(port.EraseFile(ro.c_str()), DeleteResult::Deleted);
    EXPECT_FALSE(port.ClearAttributes(ro.c_str()));
}

TEST(Win32Files, DoubleByteNamesRoundTripAsCodePage932) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run under the Japanese locale";
    TempFolder dir;
    dir.AddFile("表示.txt");
    CWin32SweepPort port;

    bool bOpened = false;
    const auto names = List(port, dir.Path() + "*.*", &bOpened);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[2], "\x95\x5C\x8E\xA6.txt");
    EXPECT_EQ(port.EraseFile((dir.Path() + names[2]).c_str()), DeleteResult::Deleted);
}

TEST(Win32Files, SmallFilesAreReadWholeOrNotAtAll) {
    TempFolder dir;
    dir.AddFile("表.txt");
    CWin32SweepPort port;
    std::string out;
    const std::string path = dir.Path() + "表.txt";
    EXPECT_EQ(port.ReadSmallFile(path.c_str(), PathText::Ansi, 6, out), ReadResult::Read);
    EXPECT_EQ(out, "cookie");
    EXPECT_EQ(port.ReadSmallFile(path.c_str(), PathText::Ansi, 5, out), ReadResult::TooLarge);
    EXPECT_EQ(port.ReadSmallFile((dir.Path() + "none.txt").c_str(), PathText::Ansi, 100, out),
              ReadResult::Missing);
    for (const std::string& other : {dir.Path(), std::string("NUL")})
        EXPECT_EQ(port.ReadSmallFile(other.c_str(), PathText::Ansi, 100, out), ReadResult::Failed)
            << other;
}

// The watch that lets a pass over unchanged folders list nothing: a change shows at the next
// call, in a subfolder too for the Favorites, and once seen it shows no more.
TEST(Win32Files, AWatchedFolderTellsItsChanges) {
    TempFolder dir;
    CreateDirectoryA((dir.Path() + "sub").c_str(), nullptr);
    CWin32SweepPort port;
    for (const auto& [nSlot, change] :
         {std::pair(kCookieSlot, "a.txt"), std::pair(kFavouritesSlot, "sub\\b.url")}) {
        const auto changed = [&, nSlot = nSlot] {
            return port.FolderMayHaveChanged(nSlot, dir.Path().c_str(), PathText::Ansi);
        };
        EXPECT_TRUE(changed()) << "a new watch";
        // Listed after the watch began, as a walk does: Wine watches a subfolder it has seen.
        bool bOpened = false;
        List(port, dir.Path() + "sub\\*", &bOpened);
        EXPECT_TRUE(WaitUntil([&] { return !changed(); })) << change << ": never settles";
        dir.AddFile(change);
        EXPECT_TRUE(WaitUntil(changed)) << change << ": not seen";
        EXPECT_TRUE(WaitUntil([&] { return !changed(); })) << change << ": seen for ever";
    }
}

TEST(Win32Shell, CookieFolderResolvesToAnAbsolutePath) {
    CWin32SweepPort port;
    const CString strFolder = port.GetCookieFolder();
    ASSERT_FALSE(strFolder.IsEmpty());
    EXPECT_EQ(strFolder[1], ':');
    EXPECT_NE(strFolder[strFolder.GetLength() - 1], '\\');
}

// The version answer is fixed when a process starts, so each answer is read by a child copy of
// this program started after the per-program setting was written.
class Win32Version : public ::testing::TestWithParam<std::pair<const char*, DWORD>> {};

TEST_P(Win32Version, ReportsThePlatformTheSystemAnswers) {
    const auto& [pszVersion, dwExpected] = GetParam();
    const std::string exeName = g_strSelf.substr(g_strSelf.find_last_of('\\') + 1);
    const std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    HKEY hKey;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(hKey, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(pszVersion),
                   static_cast<DWORD>(strlen(pszVersion) + 1));

    std::string cmd = "\"" + g_strSelf + "\" --print-version";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const BOOL bStarted =
        CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    DWORD dwCode = 0;
    if (bStarted) {
        WaitForSingleObject(pi.hProcess, 30000);
        GetExitCodeProcess(pi.hProcess, &dwCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    RegDeleteValueA(hKey, "Version");
    RegCloseKey(hKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());

    ASSERT_TRUE(bStarted);
    EXPECT_EQ(dwCode, dwExpected) << pszVersion;
}

INSTANTIATE_TEST_SUITE_P(Answers, Win32Version,
                         ::testing::Values(std::make_pair("winxp", 20501u),
                                           std::make_pair("vista", 20600u),
                                           std::make_pair("win2k", 20500u),
                                           std::make_pair("win7", 20601u)),
                         [](const auto& info) { return std::string(info.param.first); });

TEST(Win32Windows, WalkSeesTitlesOwnersAndVisibility) {
    HWND hMain = CreateWindowExA(0, "STATIC", "Wispfold Ver1.06", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND hBrowser =
        CreateWindowExA(0, "STATIC", "x - Windows Internet Explorer", WS_POPUP | WS_VISIBLE, 0, 0,
                        10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND hOwned = CreateWindowExA(0, "STATIC", "owned", WS_POPUP, 0, 0, 10, 10, hBrowser, nullptr,
                                  nullptr, nullptr);
    CWin32SweepPort port;
    port.SetMainWindow(hMain);

    bool bBrowserSeen = false, bOwnedSeen = false, bMainSeen = false;
    port.EnumerateWindows([&](WindowRef w) {
        if (w == reinterpret_cast<WindowRef>(hBrowser)) {
            bBrowserSeen = true;
            EXPECT_FALSE(port.HasOwnerOrParent(w));
            EXPECT_EQ(port.IsVisible(w), 1);
            EXPECT_EQ(port.TitleLength(w), 29);
            EXPECT_EQ(port.Title(w), "x - Windows Internet Explorer");
        } else if (w == reinterpret_cast<WindowRef>(hOwned)) {
            bOwnedSeen = true;
            EXPECT_TRUE(port.HasOwnerOrParent(w));
        } else if (w == reinterpret_cast<WindowRef>(hMain)) {
            bMainSeen = true;
            EXPECT_EQ(port.IsVisible(w), 0);
        }
        return true;
    });
    EXPECT_TRUE(bBrowserSeen);
    EXPECT_TRUE(bOwnedSeen);
    EXPECT_TRUE(bMainSeen);
    DestroyWindow(hOwned);
    DestroyWindow(hBrowser);
    DestroyWindow(hMain);
}

TEST(Win32Threads, ThePollSleepIsCutShortForGoodByTheWake) {
    CWin32SweepPort port;
    EXPECT_TRUE(port.SleepUnlessWoken(1));
    bool bResult = true;
    std::thread sleeper([&] { bResult = port.SleepUnlessWoken(60000); });
    port.WakeWorker();
    sleeper.join();
    EXPECT_FALSE(bResult);
    EXPECT_FALSE(port.SleepUnlessWoken(60000));
}

TEST(Win32Threads, StartedThreadRunsWithItsParameter) {
    struct Start {
        HANDLE hDone;
        DWORD dwThread;
    } start{CreateEventA(nullptr, TRUE, FALSE, nullptr), 0};
    CWin32SweepPort port;
    ASSERT_TRUE(port.StartThread(
        [](void* p) -> unsigned {
            auto* pStart = static_cast<Start*>(p);
            pStart->dwThread = GetCurrentThreadId();
            SetEvent(pStart->hDone);
            return 0;
        },
        &start));
    EXPECT_EQ(WaitForSingleObject(start.hDone, 10000), WAIT_OBJECT_0);
    EXPECT_NE(start.dwThread, 0u);
    EXPECT_NE(start.dwThread, GetCurrentThreadId());
    CloseHandle(start.hDone);
}

TEST(Win32Threads, AnOpenQuestionIsAnsweredNoByTheDialogsEnd) {
    CWin32SweepPort port;
    int nAnswer = 0;
    std::thread asker([&] { nAnswer = port.AskUser("question?", kMbYesNo); });
    // Wait until the box exists, answering it as the dialog's end would.
    for (int i = 0; i < 400 && nAnswer == 0; ++i) {
        port.DismissQuestions();
        port.WaitBriefly(25);
    }
    asker.join();
    EXPECT_EQ(nAnswer, kIdNo);
}

TEST(Win32Threads, WaitBrieflyLetsAnotherThreadsSentMessagesThrough) {
    HWND hWnd = CreateWindowExA(0, "STATIC", "title", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    CWin32SweepPort port;
    int nLength = -1;
    // Another thread reading this thread's window title needs this thread to answer.
    std::thread reader([&] {
        char sz[32];
        nLength = GetWindowTextA(hWnd, sz, sizeof(sz));
    });
    for (int i = 0; i < 200 && nLength < 0; ++i)
        port.WaitBriefly(10);
    reader.join();
    EXPECT_EQ(nLength, 5);
    DestroyWindow(hWnd);
}

namespace {
// The sweep core over the real port, as the program runs it: questions are recorded and
// answered No, the hide delay is skipped, the watch polls without its pause, and the Favorites
// are the test's own folder.
class CTestPort : public CWin32SweepPort {
public:
    int AskUser(const char* pszText, unsigned) override {
        m_questions.push_back(pszText);
        return kIdNo;
    }
    void Sleep(unsigned) override {}
    bool SleepUnlessWoken(unsigned) override {
        ++m_nPasses;
        return CWin32SweepPort::SleepUnlessWoken(0);
    }
    std::string GetFavouritesFolder() override { return m_strFavourites; }

    std::vector<std::string> m_questions;
    std::atomic<int> m_nPasses{0};
    std::string m_strFavourites;
};

std::string Record(const std::string& strHost) {
    return "id\nv\n" + strHost + "/\n1\n2\n3\n4\n5\n*\n";
}
} // namespace

// What a hostile profile holds: names that are devices' or end in a dot, a protected-mode folder
// made a link to the user's own files, and favourites named with characters code page 932 lacks.
TEST(Win32Purge, DeletesExactlyTheCookieFilesAndNothingElse) {
    TempFolder elsewhere("e"), cookies("c"), favourites("f"); // the link goes before its target
    for (const char* name : {"com1.txt", "lpt9.txt", "nul.txt", "a.txt.", "kept.txt", "gone.txt"})
        cookies.AddFileWith(name, Record(std::string(name, 4) + ".example"));
    elsewhere.AddFile("diary.txt");
    RunUnix("/bin/ln -s ../wfsweepe" + std::to_string(GetCurrentProcessId()) + " Low",
            cookies.Path());
    ASSERT_EQ(GetFileAttributesA((cookies.Path() + "Low").c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    ASSERT_TRUE(FileExists(cookies.Path() + "Low\\diary.txt")) << "the link leads nowhere";
    const std::wstring url(favourites.Path().begin(), favourites.Path().end());
    const HANDLE hUrl = CreateFileW((url + L"Caf\u00e9 \uD55C\uAD6D\u301C.url").c_str(),
                                    GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD dwWritten = 0;
    ASSERT_TRUE(
        WriteFile(hUrl, "[InternetShortcut]\nURL=http://kept.example/", 43, &dwWritten, nullptr));
    CloseHandle(hUrl);
    CTestPort port;
    port.m_strFavourites = favourites.Path().substr(0, favourites.Path().size() - 1);
    CCookieSweeper sweeper(port);
    sweeper.m_strCookieDir = cookies.Path().c_str();
    sweeper.m_nSweepMode = SWEEP_FOLDER_AND_LOW;
    sweeper.SetKeepFavourites(true);

    sweeper.PurgeCookies();

    bool bOpened = false;
    EXPECT_EQ(List(port, cookies.Path() + "*.*", &bOpened),
              (std::vector<std::string>{".", "..", "Low", "kept.txt"}));
    EXPECT_TRUE(FileExists(elsewhere.Path() + "diary.txt")) << "deleted through the link";
    EXPECT_TRUE(port.m_questions.empty()) << port.m_questions.front();
}

// Tooltips, menus and input-method windows come and go above the browser all day; no walk may
// end before it reached the browser's window.
TEST(Win32Watch, WindowsComingAndGoingAboveTheBrowserLetNoPurgeThrough) {
    TempFolder cookies;
    cookies.AddFile("cookie.txt");
    std::atomic<bool> bChurn{true};
    std::atomic<HWND> hBrowser{nullptr};
    // Its own thread with a message loop: the walk asks the windows' thread for their titles.
    std::thread churn([&] {
        hBrowser = CreateWindowExA(0, "STATIC", "Blank Page - Windows Internet Explorer",
                                   WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                   nullptr);
        HWND alive[16] = {};
        for (unsigned i = 0; bChurn; ++i) {
            HWND& hTip = alive[i % 16];
            if (hTip)
                DestroyWindow(hTip);
            hTip = CreateWindowExA(0, "STATIC", "tip", WS_POPUP | WS_VISIBLE, 0, 0, 5, 5, nullptr,
                                   nullptr, nullptr, nullptr);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
        }
        for (HWND h : alive)
            DestroyWindow(h);
        DestroyWindow(hBrowser);
    });
    WaitUntil([&] { return hBrowser != nullptr; });
    CTestPort port;
    CCookieSweeper sweeper(port);
    sweeper.m_strCookieDir = cookies.Path().c_str();
    sweeper.m_nSweepMode = SWEEP_FOLDER;

    sweeper.StartWatching();
    for (int i = 0; i < 2400 && port.m_nPasses < 60 && FileExists(cookies.Path() + "cookie.txt");
         ++i)
        port.WaitBriefly(25);
    sweeper.EndWatchForShutdown();
    bChurn = false;
    churn.join();

    EXPECT_GE(port.m_nPasses, 30) << "too few walks to tell";
    EXPECT_TRUE(FileExists(cookies.Path() + "cookie.txt"))
        << "purged after " << port.m_nPasses << " walks";
}

int main(int argc, char** argv) {
    char szSelf[MAX_PATH];
    GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
    g_strSelf = szSelf;
    if (argc > 1 && std::string(argv[1]) == "--print-version") {
        CWin32SweepPort port;
        const OsVersionInfo v = port.QueryVersion();
        return static_cast<int>(v.dwPlatformId * 10000 + v.dwMajorVersion * 100 + v.dwMinorVersion);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
