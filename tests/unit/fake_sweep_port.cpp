#include "tests/unit/fake_sweep_port.h"

#include <utility>

using namespace std::chrono_literals;

CFakeSweepPort::~CFakeSweepPort() {
    JoinThreads();
}

void CFakeSweepPort::JoinThreads() {
    std::vector<Worker> threads;
    {
        std::lock_guard lock(m_mutex);
        threads.swap(m_threads);
    }
    // A worker stranded by the process's end never returns: it is left to the test process's end.
    for (auto& w : threads)
        if (m_nStranded > 0)
            w.thread.detach();
        else
            w.thread.join();
}

void CFakeSweepPort::AddFolder(const std::string& strPath) {
    Entry e;
    e.bDirectory = true;
    AddFile(strPath, e);
}

void CFakeSweepPort::AddFile(const std::string& strPath, Entry entry) {
    std::lock_guard lock(m_mutex);
    entry.nWriteTime = entry.nWriteTime ? entry.nWriteTime : m_nNow.load();
    m_entries[strPath] = entry;
    ++m_nChanges;
}

bool CFakeSweepPort::Exists(const std::string& strPath) const {
    std::lock_guard lock(m_mutex);
    return m_entries.count(strPath) != 0;
}

namespace {
// The name of a direct child of strFolder (which ends in a backslash), or "".
std::string ChildName(const std::string& strFolder, const std::string& strPath) {
    if (strPath.size() <= strFolder.size() || strPath.compare(0, strFolder.size(), strFolder) != 0)
        return "";
    std::string rest = strPath.substr(strFolder.size());
    // Separators are found by whole characters: 表 and 能 end in the byte of a backslash.
    for (size_t i = 0; i < rest.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(rest[i]))) {
            ++i;
        } else if (rest[i] == '\\') {
            return i + 1 == rest.size() ? rest.substr(0, i) : "";
        }
    }
    return rest;
}
} // namespace

std::vector<std::string> CFakeSweepPort::Listing(const std::string& strFolder) const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    for (const auto& [path, entry] : m_entries) {
        const std::string name = ChildName(strFolder, path);
        if (!name.empty())
            names.push_back(name);
    }
    return names;
}

void CFakeSweepPort::QueueAnswers(std::initializer_list<int> answers) {
    std::lock_guard lock(m_mutex);
    m_answers.insert(m_answers.end(), answers);
}

std::vector<CFakeSweepPort::Question> CFakeSweepPort::Questions() const {
    std::lock_guard lock(m_mutex);
    return m_questions;
}

bool CFakeSweepPort::WaitForQuestions(size_t n) {
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, 5s, [&] { return m_questions.size() >= n; });
}

void CFakeSweepPort::Answer(int nAnswer) {
    std::lock_guard lock(m_mutex);
    m_nPendingAnswer = nAnswer;
    m_cv.notify_all();
}

CString CFakeSweepPort::GetCookieFolder() {
    ++m_nCookieFolderCalls;
    return m_strCookieFolder;
}

int CFakeSweepPort::AskUser(const char* pszText, unsigned nType) {
    std::unique_lock lock(m_mutex);
    m_questions.push_back({pszText, nType});
    m_cv.notify_all();
    if (nType == kMbOk)
        return 1; // IDOK: a notice needs no scripted answer
    if (!m_answers.empty()) {
        const int nAnswer = m_answers.front();
        m_answers.pop_front();
        return nAnswer;
    }
    ++m_nAsking;
    m_cv.wait(lock, [&] { return m_nPendingAnswer != 0; });
    --m_nAsking;
    return std::exchange(m_nPendingAnswer, 0);
}

void CFakeSweepPort::HideDialog() {
    ++m_nHides;
    m_nThreadsAtHide = m_nThreadsStarted.load();
    std::lock_guard lock(m_mutex);
    m_nSleepsAtHide = m_uiSleeps.size();
}

void CFakeSweepPort::EnterWork() {
    const int n = ++m_nWorkInFlight;
    int nMax = m_nMaxWorkInFlight.load();
    while (n > nMax && !m_nMaxWorkInFlight.compare_exchange_weak(nMax, n)) {
    }
    // Widens the window in which a second loop would be caught.
    if (m_bWorkDelay)
        std::this_thread::sleep_for(200us);
}

void CFakeSweepPort::LeaveWork() {
    --m_nWorkInFlight;
}

ListResult CFakeSweepPort::ListFolder(const char* pszPattern, PathText,
                                      const std::function<bool(const FolderEntry& entry)>& visit) {
    std::string strPattern(pszPattern);
    {
        std::lock_guard lock(m_mutex);
        m_listedPatterns.push_back(strPattern);
    }
    // The cookie folders are listed with "*.*", the Favorites with "*".
    const size_t nStar = strPattern.rfind('\\') + 1;
    const std::string strFolder = strPattern.substr(0, nStar);
    Entry dots;
    dots.bDirectory = true;
    std::vector<std::pair<std::string, Entry>> entries{{".", dots}, {"..", dots}};
    {
        std::lock_guard lock(m_mutex);
        const auto folder = m_entries.find(strFolder);
        if (folder == m_entries.end())
            return ListResult::Missing;
        if (folder->second.bUnreadable)
            return ListResult::Failed;
        // Entries that vanish disappear between the listing and the deletion.
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            const std::string name = ChildName(strFolder, it->first);
            if (!name.empty())
                entries.emplace_back(name, it->second);
            const bool bVanishes = it->second.bVanishes && !name.empty();
            m_nChanges += bVanishes;
            it = bVanishes ? m_entries.erase(it) : std::next(it);
        }
    }
    EnterWork();
    for (const auto& [name, e] : entries) {
        const uint32_t nAttributes = (e.bDirectory ? kFileAttributeDirectory : 0x20) |
                                     (e.bLink ? kFileAttributeReparsePoint : 0) |
                                     (e.bReadOnly ? kFileAttributeReadOnly : 0);
        if (!visit({name.c_str(), nAttributes, e.strContent.size(), e.nWriteTime}))
            break;
    }
    LeaveWork();
    return ListResult::Listed;
}

std::map<std::string, CFakeSweepPort::Entry>::iterator CFakeSweepPort::Lookup(const char* pszPath) {
    // A folder is stored under its path with a trailing backslash.
    auto it = m_entries.find(pszPath);
    return it != m_entries.end() ? it : m_entries.find(std::string(pszPath) + "\\");
}

DeleteResult CFakeSweepPort::EraseFile(const char* pszPath) {
    std::unique_lock lock(m_mutex);
    auto it = Lookup(pszPath);
    if (it != m_entries.end() && it->second.bBlocks) {
        ++m_nBlocked;
        m_cv.notify_all();
        m_cv.wait(lock, [&] { return m_bUnblocked; });
        if (m_nProcessEnds > 0) {
            // An ended process runs nothing more: the worker stays here, touching nothing.
            ++m_nStranded;
            lock.unlock();
            for (;;)
                std::this_thread::sleep_for(1h);
        }
        it = Lookup(pszPath);
    }
    if (it == m_entries.end())
        return DeleteResult::Missing;
    const Entry& e = it->second;
    if (e.bDirectory || e.bReadOnly || e.bLocked)
        return DeleteResult::Failed;
    m_entries.erase(it);
    ++m_nChanges;
    return DeleteResult::Deleted;
}

uint32_t CFakeSweepPort::ReadAttributes(const char* pszPath) {
    std::lock_guard lock(m_mutex);
    auto it = Lookup(pszPath);
    if (it == m_entries.end() || it->second.bNoAttributes)
        return kInvalidFileAttributes;
    return (it->second.bReadOnly ? kFileAttributeReadOnly : 0) |
           (it->second.bDirectory ? kFileAttributeDirectory : 0x20) |
           (it->second.bLink ? kFileAttributeReparsePoint : 0);
}

bool CFakeSweepPort::ClearAttributes(const char* pszPath) {
    ++m_nClearCalls;
    std::lock_guard lock(m_mutex);
    auto it = Lookup(pszPath);
    if (it == m_entries.end() || it->second.bClearFails)
        return false;
    it->second.bReadOnly = false;
    return true;
}

ReadResult CFakeSweepPort::ReadSmallFile(const char* pszPath, PathText, size_t nMaxBytes,
                                         std::string& out) {
    ++m_nFileReads;
    std::lock_guard lock(m_mutex);
    const auto it = m_entries.find(pszPath);
    if (it == m_entries.end())
        return ReadResult::Missing;
    if (it->second.bDirectory || it->second.bUnreadable)
        return ReadResult::Failed;
    out = it->second.strContent.size() > nMaxBytes ? "" : it->second.strContent;
    return out.size() < it->second.strContent.size() ? ReadResult::TooLarge : ReadResult::Read;
}

void CFakeSweepPort::EnumerateWindows(const std::function<bool(WindowRef w)>& visit) {
    ++m_nWalks;
    EnterWork();
    LeaveWork();
    for (WindowRef w = 1; w <= m_windows.size(); ++w) {
        ++m_nWindowVisits;
        if (!visit(w))
            break;
    }
}

bool CFakeSweepPort::StartThread(ThreadProc proc, void* pParam) {
    ++m_nThreadsStarted;
    std::lock_guard lock(m_mutex);
    for (auto it = m_threads.begin(); it != m_threads.end();) {
        if (it->pEnded->load()) {
            it->thread.join();
            it = m_threads.erase(it);
        } else {
            ++it;
        }
    }
    auto pEnded = std::make_shared<std::atomic<bool>>(false);
    m_threads.push_back({std::thread([proc, pParam, pEnded] {
                             proc(pParam);
                             pEnded->store(true);
                         }),
                         pEnded});
    return true;
}

void CFakeSweepPort::Sleep(unsigned nMilliseconds) {
    std::lock_guard lock(m_mutex);
    m_uiSleeps.push_back(nMilliseconds);
}

bool CFakeSweepPort::WaitForSleepers(int n) {
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, 5s, [&] { return m_nSleepers >= n; });
}

void CFakeSweepPort::ReleaseSleep() {
    std::lock_guard lock(m_mutex);
    ++m_nSleepTickets;
    m_cv.notify_all();
}

bool CFakeSweepPort::SleepUnlessWoken(unsigned nMilliseconds) {
    m_uiPollSleep = nMilliseconds;
    if (m_bBusyPolling)
        return true;
    std::unique_lock lock(m_mutex);
    ++m_nSleepers;
    m_cv.notify_all();
    if (m_bManualSleeps)
        m_cv.wait(lock, [&] { return m_bWoken || m_nSleepTickets > 0; });
    else
        m_cv.wait_for(lock, 1ms, [&] { return m_bWoken; });
    --m_nSleepers;
    if (m_bWoken)
        return false;
    if (m_bManualSleeps)
        --m_nSleepTickets;
    return true;
}

void CFakeSweepPort::WakeWorker() {
    std::lock_guard lock(m_mutex);
    m_bWoken = true;
    if (m_nAnswerOnWake != 0 && m_nAsking > 0 && m_nPendingAnswer == 0)
        m_nPendingAnswer = m_nAnswerOnWake;
    m_cv.notify_all();
}

void CFakeSweepPort::DismissQuestions() {
    std::lock_guard lock(m_mutex);
    if (m_nAsking > 0 && m_nPendingAnswer == 0)
        m_nPendingAnswer = kIdNo;
    m_cv.notify_all();
}

bool CFakeSweepPort::WaitForBlocked() {
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, 5s, [&] { return m_nBlocked > 0; });
}

void CFakeSweepPort::ReleaseBlocked() {
    std::lock_guard lock(m_mutex);
    m_bUnblocked = true;
    m_cv.notify_all();
}

void CFakeSweepPort::WaitBriefly(unsigned nMilliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds));
}
