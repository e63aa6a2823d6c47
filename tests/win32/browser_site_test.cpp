// Winsock's header must come before <windows.h>, which would otherwise pull in the old one.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "classlib/browser_site.h"

namespace {

const char kListPath[] = "/Wispfold/ListWispfold.php";
const RECT kPlace = {12, 34, 312, 234};

// Dispatches this thread's messages until done() holds or timeout passes. The control does its
// work through posted messages, so a wait that does not pump would never see it happen.
template <class Pred> bool PumpUntil(Pred done, DWORD dwTimeout, HANDLE hWake = nullptr) {
    const DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= dwTimeout)
            return false;
        DWORD dwWait = dwTimeout - dwElapsed < 50 ? dwTimeout - dwElapsed : 50;
        MsgWaitForMultipleObjects(hWake ? 1 : 0, hWake ? &hWake : nullptr, FALSE, dwWait,
                                  QS_ALLINPUT);
    }
}

// Dispatches whatever is queued right now, without waiting for more.
void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

BOOL CALLBACK CountOne(HWND, LPARAM lParam) {
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

// All windows below hWnd, at any depth.
int CountDescendants(HWND hWnd) {
    int n = 0;
    EnumChildWindows(hWnd, CountOne, reinterpret_cast<LPARAM>(&n));
    return n;
}

std::string RectText(const RECT& rc) {
    char sz[80];
    std::snprintf(sz, sizeof sz, "(%ld,%ld)-(%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return sz;
}

// Where the window lies in hParent's client coordinates.
RECT PlaceIn(HWND hWnd, HWND hParent) {
    RECT rc;
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(HWND_DESKTOP, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// A one-shot HTTP server on loopback. It takes one connection, keeps the request head and
// answers only once released, so a test can tell whether the caller waited for the answer.
class CLoopbackServer {
public:
    CLoopbackServer() {
        WSADATA wsa;
        m_bWinsock = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
        m_hRequestSeen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_hRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_sListen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0; // any free port
        int nLen = sizeof addr;
        if (m_sListen != INVALID_SOCKET &&
            bind(m_sListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
            listen(m_sListen, 1) == 0 &&
            getsockname(m_sListen, reinterpret_cast<sockaddr*>(&addr), &nLen) == 0)
            m_nPort = ntohs(addr.sin_port);
        if (m_nPort != 0)
            m_thread = std::thread([this] { Serve(); });
    }
    ~CLoopbackServer() {
        m_bStop = true;
        SetEvent(m_hRelease);
        if (m_thread.joinable())
            m_thread.join();
        if (m_sListen != INVALID_SOCKET)
            closesocket(m_sListen);
        CloseHandle(m_hRequestSeen);
        CloseHandle(m_hRelease);
        if (m_bWinsock)
            WSACleanup();
    }
    CLoopbackServer(const CLoopbackServer&) = delete;
    CLoopbackServer& operator=(const CLoopbackServer&) = delete;

    unsigned Port() const { return m_nPort; }
    std::string Url(const char* pszPath) const {
        return "http://127.0.0.1:" + std::to_string(m_nPort) + pszPath;
    }
    HANDLE RequestEvent() const { return m_hRequestSeen; }
    bool HasRequest() const { return WaitForSingleObject(m_hRequestSeen, 0) == WAIT_OBJECT_0; }
    bool HasAnswered() const { return m_bAnswered; }
    std::string RequestHead() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_strHead;
    }
    std::string RequestLine() const {
        std::string head = RequestHead();
        return head.substr(0, head.find("\r\n"));
    }
    void Release() { SetEvent(m_hRelease); }

private:
    // Every wait of the server is bounded, and cut short when the test ends.
    static constexpr DWORD kServeTimeout = 30000;

    bool Readable(SOCKET s) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(s, &fds);
        timeval tv = {0, 100000};
        return select(0, &fds, nullptr, nullptr, &tv) > 0;
    }
    bool TimeLeft(DWORD dwStart) const {
        return !m_bStop && GetTickCount() - dwStart < kServeTimeout;
    }

    void Serve() {
        const DWORD dwStart = GetTickCount();
        SOCKET sConn = INVALID_SOCKET;
        while (sConn == INVALID_SOCKET && TimeLeft(dwStart))
            if (Readable(m_sListen))
                sConn = accept(m_sListen, nullptr, nullptr);
        if (sConn == INVALID_SOCKET)
            return;
        std::string head;
        while (head.find("\r\n\r\n") == std::string::npos && TimeLeft(dwStart)) {
            if (!Readable(sConn))
                continue;
            char buf[1024];
            int n = recv(sConn, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            head.append(buf, n);
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_strHead = head;
        }
        SetEvent(m_hRequestSeen);
        WaitForSingleObject(m_hRelease, kServeTimeout);
        const std::string body = "<html><body>list</body></html>";
        const std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
                                   "Content-Length: " +
                                   std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
                                   body;
        send(sConn, answer.data(), static_cast<int>(answer.size()), 0);
        m_bAnswered = true;
        shutdown(sConn, SD_SEND);
        closesocket(sConn);
    }

    bool m_bWinsock = false;
    SOCKET m_sListen = INVALID_SOCKET;
    unsigned m_nPort = 0;
    HANDLE m_hRequestSeen = nullptr;
    HANDLE m_hRelease = nullptr;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bAnswered{false};
    mutable std::mutex m_mutex;
    std::string m_strHead;
    std::thread m_thread;
};

// A real, shown top-level window to host the control, on an OLE-initialised thread.
class BrowserSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        m_bOle = true;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WispfoldBrowserSiteTest";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&wc); // fails harmlessly when an earlier test registered it
        m_hWnd = CreateWindowExA(0, wc.lpszClassName, "browser site test",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
        ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        PumpPending();
    }
    void TearDown() override {
        if (m_hWnd && IsWindow(m_hWnd))
            DestroyWindow(m_hWnd);
        PumpPending();
        if (m_bOle)
            OleUninitialize();
    }

    HWND m_hWnd = nullptr;
    bool m_bOle = false;
};

TEST_F(BrowserSiteTest, CreatePlacesVisibleControlInsideParentFillingRect) {
    CBrowserSite site;
    ASSERT_TRUE(site.Create(m_hWnd, kPlace));
    HWND hControl = site.GetWindow();
    ASSERT_NE(hControl, nullptr);
    EXPECT_TRUE(IsChild(m_hWnd, hControl));
    EXPECT_TRUE(GetWindowLongA(hControl, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(hControl));
    EXPECT_EQ(RectText(PlaceIn(hControl, m_hWnd)), RectText(kPlace));
    EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 1);

    // A second Create on a live site is refused and leaves the first control as it was.
    const RECT rcOther = {0, 0, 50, 50};
    EXPECT_FALSE(site.Create(m_hWnd, rcOther));
    EXPECT_EQ(site.GetWindow(), hControl);
    EXPECT_EQ(RectText(PlaceIn(hControl, m_hWnd)), RectText(kPlace));
    EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 1);
}

TEST_F(BrowserSiteTest, NavigateRequestsPageFromServerWithoutWaitingForIt) {
    CLoopbackServer server;
    ASSERT_NE(server.Port(), 0u);
    CBrowserSite site;
    ASSERT_TRUE(site.Create(m_hWnd, kPlace));

    ASSERT_TRUE(site.Navigate2(server.Url(kListPath).c_str()));
    // The server answers only when released below: had Navigate2 waited for the page, it
    // could have returned only after the server gave up waiting and answered by itself.
    EXPECT_FALSE(server.HasAnswered());

    ASSERT_TRUE(PumpUntil([&] { return server.HasRequest(); }, 30000, server.RequestEvent()))
        << "no request reached the server";
    EXPECT_EQ(server.RequestLine().rfind(std::string("GET ") + kListPath + " HTTP/1.", 0), 0u)
        << server.RequestLine();
    const std::string host = "\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
    EXPECT_NE(server.RequestHead().find(host), std::string::npos) << server.RequestHead();

    // Let the answer arrive, then tear the control down while it is still busy with it.
    server.Release();
    ASSERT_TRUE(PumpUntil([&] { return server.HasAnswered(); }, 30000));
    PumpPending();
    site.Destroy();
    EXPECT_EQ(CountDescendants(m_hWnd), 0);
    EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 0);
}

TEST_F(BrowserSiteTest, DestroyLeavesNoWindowNorSiteAndCanRepeat) {
    CBrowserSite site;
    ASSERT_TRUE(site.Create(m_hWnd, kPlace));
    HWND hControl = site.GetWindow();
    ASSERT_GT(CountDescendants(m_hWnd), 0);

    site.Destroy();
    EXPECT_EQ(site.GetWindow(), nullptr);
    EXPECT_FALSE(IsWindow(hControl));
    EXPECT_EQ(CountDescendants(m_hWnd), 0);
    EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 0);
    EXPECT_FALSE(site.Navigate2("http://127.0.0.1:1/Wispfold/ListWispfold.php"));

    site.Destroy();
    EXPECT_EQ(CountDescendants(m_hWnd), 0);

    // The same object hosts a new control afterwards. A second site beside it is independent,
    // and its destructor takes down its own control and nothing else.
    ASSERT_TRUE(site.Create(m_hWnd, kPlace));
    HWND hOther = nullptr;
    {
        CBrowserSite other;
        ASSERT_TRUE(other.Create(m_hWnd, kPlace));
        hOther = other.GetWindow();
        EXPECT_NE(hOther, site.GetWindow());
        EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 2);
    }
    EXPECT_FALSE(IsWindow(hOther));
    EXPECT_TRUE(IsChild(m_hWnd, site.GetWindow()));
    EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 1);
    site.Destroy();
    EXPECT_EQ(CountDescendants(m_hWnd), 0);
    EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 0);
}

TEST_F(BrowserSiteTest, ParentDestroyedFirstLeavesDestroySafe) {
    CLoopbackServer server;
    ASSERT_NE(server.Port(), 0u);
    CBrowserSite site;
    ASSERT_TRUE(site.Create(m_hWnd, kPlace));
    HWND hControl = site.GetWindow();
    ASSERT_TRUE(site.Navigate2(server.Url(kListPath).c_str()));

    // The page view's window goes away with the dialog before the view object cleans up.
    ASSERT_TRUE(DestroyWindow(m_hWnd));
    EXPECT_FALSE(IsWindow(hControl));
    PumpPending();
    server.Release();

    site.Destroy();
    EXPECT_EQ(site.GetWindow(), nullptr);
    EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 0);
    site.Destroy();
    PumpPending();
}

TEST_F(BrowserSiteTest, CreateRefusesMissingParentOrOle) {
    CBrowserSite site;
    EXPECT_FALSE(site.Create(nullptr, kPlace));
    EXPECT_EQ(site.GetWindow(), nullptr);

    // Without OLE on the thread the control cannot be made; nothing may stay behind.
    OleUninitialize();
    m_bOle = false;
    EXPECT_FALSE(site.Create(m_hWnd, kPlace));
    EXPECT_EQ(site.GetWindow(), nullptr);
    EXPECT_EQ(CountDescendants(m_hWnd), 0);
    EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 0);
}

// Runs only in the CTest entry that disables the browser control's library through
// WINEDLLOVERRIDES; in an ordinary run the control exists and this case has nothing to show.
class BrowserSiteWithoutControlTest : public BrowserSiteTest {
protected:
    static bool ControlDisabled() {
        char sz[512] = "";
        DWORD n = GetEnvironmentVariableA("WINEDLLOVERRIDES", sz, sizeof sz);
        if (n == 0 || n >= sizeof sz)
            return false;
        CharLowerA(sz);
        return std::strstr(sz, "ieframe=d") != nullptr;
    }
};

TEST_F(BrowserSiteWithoutControlTest, CreateFailsAndLeavesNothing) {
    if (!ControlDisabled())
        GTEST_SKIP() << "needs WINEDLLOVERRIDES with ieframe=d";
    CBrowserSite site;
    EXPECT_FALSE(site.Create(m_hWnd, kPlace));
    EXPECT_EQ(site.GetWindow(), nullptr);
    EXPECT_EQ(CountDescendants(m_hWnd), 0);
    EXPECT_EQ(CBrowserSite::GetLiveSiteCount(), 0);
    EXPECT_FALSE(site.Navigate2("http://127.0.0.1:1/Wispfold/ListWispfold.php"));
    site.Destroy();
    EXPECT_EQ(CountDescendants(m_hWnd), 0);
}

} // namespace
