// The Windows side of script/bench: prepares the prefix for a run and measures the real program
// from outside its process, as the end-to-end tests drive it. One command per call; results go
// to standard output as "key=value" lines, one run per line. Exit code 0, 1 when a run could not
// be measured, 2 on a bad command line.
//
//   bench_driver folder                    creates the cookie folder, prints folder=<path>
//   bench_driver start-at-launch 0|1       removes or stores the start-at-launch value
//   bench_driver favourites                creates the Favorites folder, prints favourites=<path>
//   bench_driver keep-favourites 0|1       removes or stores the value of the favourites' rule
//   bench_driver after-yes <runs>          per run: hide_ms, gone_ms after a click of "はい"
//   bench_driver memory <runs> [<exe> <caption>]
//                                          per run: the private bytes (PagefileUsage) of the
//                                          program with its dialog shown; Wispfold by default
#include <windows.h>

#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "res/resource.h"
#include "tests/e2e/harness/cookie_folder.h"
#include "tests/e2e/harness/dialog_driver.h"
#include "tests/e2e/harness/program_texts.h"
#include "tests/e2e/harness/reg_value.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/harness/window_scout.h"
#include "tests/e2e/harness/wispfold_process.h"

using e2e::WaitUntil;

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kEventTimeoutMs = 10000;
// The timed waits poll more finely than the tests' 50 ms: the figures are quoted in ms.
constexpr DWORD kFinePollMs = 2;
const char kProbeName[] = "bench-probe.txt";

double NowPreciseMs() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

// Polls every kFinePollMs; the ms from `sinceMs` until done() held, or -1 at the deadline.
template <class Done> double MsUntil(double sinceMs, Done done, DWORD timeoutMs) {
    while (!done()) {
        if (NowPreciseMs() - sinceMs > timeoutMs)
            return -1;
        Sleep(kFinePollMs);
    }
    return NowPreciseMs() - sinceMs;
}

std::string WispfoldPath() {
    if (const char* pszPath = std::getenv("WISPFOLD_EXE"); pszPath != nullptr && *pszPath)
        return pszPath;
    return WISPFOLD_EXE;
}

CRegValue StartAtLaunch() {
    return CRegValue(e2e::kProfileSection, e2e::kStartAppDo);
}

// Starts the program and waits until its dialog with this caption is visible.
HWND StartShown(CWispfoldProcess& process, const std::string& exe, const char* caption) {
    if (!process.Start(exe)) {
        std::fprintf(stderr, "%s\n", process.Error().c_str());
        return nullptr;
    }
    HWND hDlg = nullptr;
    WaitUntil(
        [&] {
            hDlg = CWindowScout(process.Pid()).Find("#32770", caption);
            return (hDlg != nullptr && IsWindowVisible(hDlg)) || !process.IsRunning();
        },
        kStartTimeoutMs);
    if (hDlg == nullptr || !IsWindowVisible(hDlg)) {
        std::fprintf(stderr, "no visible dialog \"%s\" of %s\n", caption, exe.c_str());
        return nullptr;
    }
    return hDlg;
}

int AfterYes(int runs) {
    CCookieFolder cookies;
    if (!cookies.Ensure())
        return 1;
    for (int run = 0; run < runs; ++run) {
        // The dialog must show at launch, and nothing but the probe may be in the folder.
        StartAtLaunch().Delete();
        cookies.Clear();
        CWispfoldProcess process;
        HWND hDlg = StartShown(process, WispfoldPath(), e2e::kMainCaption);
        if (hDlg == nullptr || !cookies.AddFile(kProbeName))
            return 1;
        // Let the start-up settle (the page view, Wine's first paint) before the click.
        Sleep(1000);
        const std::string probe = cookies.Path() + kProbeName;
        const double t0 = NowPreciseMs();
        CDialogDriver(hDlg).Click(IDC_BTN_YES);
        const double hidden = MsUntil(
            t0, [&] { return !IsWindowVisible(hDlg); }, kEventTimeoutMs);
        const double gone = MsUntil(
            t0, [&] { return GetFileAttributesA(probe.c_str()) == INVALID_FILE_ATTRIBUTES; },
            kEventTimeoutMs);
        std::printf("hide_ms=%.1f gone_ms=%.1f\n", hidden, gone);
        std::fflush(stdout);
        process.Terminate();
        if (hidden < 0 || gone < 0)
            return 1;
    }
    StartAtLaunch().Delete();
    cookies.Clear();
    return 0;
}

SIZE_T PagefileUsage(DWORD pid) {
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (hProcess == nullptr)
        return 0;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    const BOOL bOk = GetProcessMemoryInfo(hProcess, &counters, sizeof(counters));
    CloseHandle(hProcess);
    return bOk ? counters.PagefileUsage : 0;
}

int Memory(int runs, const std::string& exe, const char* caption) {
    constexpr DWORD kSteadyMs = 2000;
    constexpr DWORD kSettleTimeoutMs = 20000;
    for (int run = 0; run < runs; ++run) {
        StartAtLaunch().Delete();
        CWispfoldProcess process;
        if (StartShown(process, exe, caption) == nullptr)
            return 1;
        // The figure is taken once it has stayed the same for kSteadyMs (the page view and
        // Wine's fonts load after the dialog shows).
        SIZE_T last = PagefileUsage(process.Pid());
        ULONGLONG steadySince = e2e::NowMs();
        const bool bSteady = WaitUntil(
            [&] {
                const SIZE_T now = PagefileUsage(process.Pid());
                if (now != last) {
                    last = now;
                    steadySince = e2e::NowMs();
                }
                return e2e::NowMs() - steadySince >= kSteadyMs;
            },
            kSettleTimeoutMs);
        std::printf("private_kib=%lu steady=%d\n", static_cast<unsigned long>(last / 1024),
                    bSteady ? 1 : 0);
        std::fflush(stdout);
        if (last == 0)
            return 1;
    }
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: bench_driver folder | start-at-launch 0|1 | favourites | "
                         "keep-favourites 0|1 | after-yes RUNS | memory RUNS [EXE CAPTION]\n");
    return 2;
}

int Runs(const char* text) {
    const int runs = std::atoi(text);
    return runs > 0 && runs <= 100 ? runs : 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "folder" && argc == 2) {
        CCookieFolder cookies;
        if (!cookies.Ensure() || !cookies.Clear())
            return 1;
        std::printf("folder=%s\n", cookies.Path().c_str());
        return 0;
    }
    if ((command == "start-at-launch" || command == "keep-favourites") && argc == 3) {
        const CRegValue setting(e2e::kProfileSection, command == "start-at-launch"
                                                          ? e2e::kStartAppDo
                                                          : e2e::kKeepFavoriteDo);
        const std::string value = argv[2];
        if (value == "1")
            return setting.WriteDword(1) ? 0 : 1;
        if (value == "0")
            return setting.Delete() ? 0 : 1;
        return Usage();
    }
    if (command == "favourites" && argc == 2) {
        char szPath[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathA(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_CREATE, nullptr,
                                    SHGFP_TYPE_CURRENT, szPath)))
            return 1;
        std::printf("favourites=%s\n", szPath);
        return 0;
    }
    if (command == "after-yes" && argc == 3 && Runs(argv[2]) > 0)
        return AfterYes(Runs(argv[2]));
    if (command == "memory" && argc == 3 && Runs(argv[2]) > 0)
        return Memory(Runs(argv[2]), WispfoldPath(), e2e::kMainCaption);
    if (command == "memory" && argc == 5 && Runs(argv[2]) > 0)
        return Memory(Runs(argv[2]), CWispfoldProcess::ToWindowsPath(argv[3]), argv[4]);
    return Usage();
}
