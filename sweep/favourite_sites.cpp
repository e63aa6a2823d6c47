#include "sweep/favourite_sites.h"

#include <algorithm>
#include <utility>

namespace {
constexpr size_t kMaxHostLength = 253;

char LowerAscii(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

bool IsHostByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '_' ||
           ch == '.';
}

bool IsDecimal(std::string_view text) {
    return !text.empty() && text.size() <= 10 &&
           std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

bool IsIpv4(std::string_view host) {
    return std::all_of(host.begin(), host.end(),
                       [](char ch) { return ch == '.' || (ch >= '0' && ch <= '9'); });
}

// Cuts the next line (without its LF and a CR before it) off the front of text.
std::string_view NextLine(std::string_view& text) {
    const size_t nEnd = text.find('\n');
    std::string_view line = text.substr(0, nEnd);
    text.remove_prefix(nEnd == std::string_view::npos ? text.size() : nEnd + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// Both normalized: equal, or the longer ends in "." + the shorter, which has two labels at least.
bool NormalizedHostsMatch(std::string_view a, std::string_view b) {
    if (a == b)
        return !a.empty();
    const std::string_view shorter = a.size() < b.size() ? a : b;
    const std::string_view longer = a.size() < b.size() ? b : a;
    if (shorter.empty() || shorter.find('.') == std::string_view::npos || IsIpv4(shorter) ||
        IsIpv4(longer))
        return false;
    return longer.size() > shorter.size() + 1 &&
           longer[longer.size() - shorter.size() - 1] == '.' &&
           longer.substr(longer.size() - shorter.size()) == shorter;
}
} // namespace

std::string NormalizeHost(std::string_view host) {
    if (!host.empty() && host.front() == '.')
        host.remove_prefix(1);
    if (!host.empty() && host.back() == '.')
        host.remove_suffix(1);
    if (host.empty() || host.size() > kMaxHostLength)
        return std::string();
    std::string result(host);
    char prev = '.';
    for (char& ch : result) {
        ch = LowerAscii(ch);
        // Every label is non-empty: no dot at either end or next to another.
        if (!IsHostByte(ch) || (ch == '.' && prev == '.'))
            return std::string();
        prev = ch;
    }
    return result;
}

bool HostsMatch(std::string_view a, std::string_view b) {
    return NormalizedHostsMatch(NormalizeHost(a), NormalizeHost(b));
}

bool ReadCookieHosts(std::string_view content, std::vector<std::string_view>& hosts) {
    hosts.clear();
    int nLine = 0; // the line's place within its record
    while (!content.empty()) {
        const std::string_view line = NextLine(content);
        if (nLine == 8) {
            if (line != "*")
                return false;
            nLine = 0;
            continue;
        }
        if (nLine == 2) {
            const size_t nSlash = line.find('/');
            if (nSlash == std::string_view::npos || NormalizeHost(line.substr(0, nSlash)).empty())
                return false;
            hosts.push_back(line.substr(0, nSlash));
        } else if (nLine >= 3 && !IsDecimal(line)) {
            return false;
        }
        ++nLine;
    }
    return nLine == 0 && !hosts.empty();
}

std::string FavouriteHost(std::string_view content) {
    // A byte-order mark some editors write.
    if (content.substr(0, 3) == "\xEF\xBB\xBF")
        content.remove_prefix(3);
    bool bInSection = false;
    while (!content.empty()) {
        const std::string_view line = Trim(NextLine(content));
        if (!line.empty() && line.front() == '[') {
            bInSection = EqualsNoCase(line, "[InternetShortcut]");
            continue;
        }
        const size_t nEquals = line.find('=');
        if (!bInSection || nEquals == std::string_view::npos ||
            !EqualsNoCase(Trim(line.substr(0, nEquals)), "URL"))
            continue;
        std::string_view url = Trim(line.substr(nEquals + 1));
        if (StartsWithNoCase(url, "http://"))
            url.remove_prefix(7);
        else if (StartsWithNoCase(url, "https://"))
            url.remove_prefix(8);
        else
            return std::string();
        std::string_view authority = url.substr(0, url.find_first_of("/?#\\"));
        if (const size_t nAt = authority.rfind('@'); nAt != std::string_view::npos)
            authority.remove_prefix(nAt + 1);
        if (const size_t nColon = authority.find(':'); nColon != std::string_view::npos) {
            if (nColon + 1 < authority.size() && !IsDecimal(authority.substr(nColon + 1)))
                return std::string();
            authority = authority.substr(0, nColon);
        }
        return NormalizeHost(authority);
    }
    return std::string();
}

namespace {
// FAT's step, in the listing's units of 100 ns.
constexpr uint64_t kCoarsestClockStep = 2 * 10000000ULL;

// A remembered reading by its name. Listings of an unchanged folder come in the same order, so
// the search starts after the last one found.
template <class Remembered>
Remembered* FindRemembered(std::vector<Remembered>& remembered, size_t& nNext,
                           std::string_view name) {
    for (size_t i = 0; i < remembered.size(); ++i) {
        Remembered& r = remembered[(nNext + i) % remembered.size()];
        if (r.strName == name) {
            nNext = (nNext + i + 1) % remembered.size();
            return &r;
        }
    }
    return nullptr;
}
} // namespace

bool IsUnchanged(const CFileStamp& read, const FolderEntry& now) {
    return read.nSize == now.nSize && read.nWriteTime == now.nWriteTime &&
           read.nReadTime > now.nWriteTime + kCoarsestClockStep;
}

void CFavouriteSites::Update(ISweepPort& port, const std::atomic<bool>& bStop) {
    if (!port.FolderMayHaveChanged(kFavouritesSlot, m_strFolder.c_str(), PathText::Utf8) &&
        !m_bWalkAgain)
        return;
    // The watch follows the folder the shell names now; it is set before the walk.
    if (std::string strFolder = port.GetFavouritesFolder(); strFolder != m_strFolder) {
        m_strFolder = std::move(strFolder);
        port.FolderMayHaveChanged(kFavouritesSlot, m_strFolder.c_str(), PathText::Utf8);
    }
    const bool bWasKnown = std::exchange(m_bKnown, true);
    std::vector<CRemembered> shortcuts;
    int nBudget = kMaxEntries;
    m_nNextRemembered = 0;
    if (!m_strFolder.empty())
        WalkFolder(port, m_strFolder + "\\", 0, nBudget, bStop, shortcuts);
    m_shortcuts.swap(shortcuts);
    m_bWalkAgain = !m_bKnown || bStop.load();

    std::vector<std::string> hosts;
    for (const CRemembered& shortcut : m_shortcuts)
        if (!shortcut.strHosts.empty())
            hosts.push_back(shortcut.strHosts);
    std::sort(hosts.begin(), hosts.end());
    hosts.erase(std::unique(hosts.begin(), hosts.end()), hosts.end());
    if (hosts != m_hosts || m_bKnown != bWasKnown) {
        m_hosts.swap(hosts);
        ++m_nGeneration;
    }
}

void CFavouriteSites::WalkFolder(ISweepPort& port, const std::string& strFolder, int nDepth,
                                 int& nBudget, const std::atomic<bool>& bStop,
                                 std::vector<CRemembered>& shortcuts) {
    std::vector<std::string> subfolders;
    // A folder that is there but cannot be read (a server that is offline, no right to list)
    // hides favourites the rule cannot know: the pass keeps what it would have judged.
    const ListResult listed =
        port.ListFolder((strFolder + "*").c_str(), PathText::Utf8, [&](const FolderEntry& entry) {
            const std::string_view name(entry.pszName);
            if (name == "." || name == "..")
                return true;
            if (bStop.load() || --nBudget < 0)
                return false;
            std::string strPath = strFolder + entry.pszName;
            if ((entry.nAttributes & kFileAttributeDirectory) != 0) {
                // A junction could lead back up the tree: only real folders are entered.
                if (nDepth < kMaxDepth && (entry.nAttributes & kFileAttributeReparsePoint) == 0)
                    subfolders.push_back(strPath + "\\");
                return true;
            }
            if (name.size() <= 4 || !EqualsNoCase(name.substr(name.size() - 4), ".url") ||
                entry.nSize > kMaxShortcutBytes)
                return true;
            if (CRemembered* pRead = FindRemembered(m_shortcuts, m_nNextRemembered, strPath);
                pRead && IsUnchanged(pRead->stamp, entry)) {
                shortcuts.push_back(std::move(*pRead));
                return true;
            }
            const uint64_t nReadTime = port.CurrentFileTime();
            const ReadResult read =
                port.ReadSmallFile(strPath.c_str(), PathText::Utf8, kMaxShortcutBytes, m_buffer);
            if (read == ReadResult::Read)
                shortcuts.push_back({std::move(strPath),
                                     {entry.nSize, entry.nWriteTime, nReadTime},
                                     FavouriteHost(m_buffer),
                                     0});
            else if (read == ReadResult::Failed)
                m_bKnown = false;
            return true;
        });
    if (listed == ListResult::Failed)
        m_bKnown = false;
    for (const std::string& strSub : subfolders)
        WalkFolder(port, strSub, nDepth + 1, nBudget, bStop, shortcuts);
}

void CFavouriteSites::BeginCookieFolder(int nSlot) {
    m_nJudgedSlot = nSlot;
    m_nNextRemembered = 0;
    m_judged.clear();
}

void CFavouriteSites::EndCookieFolder() {
    m_cookies[m_nJudgedSlot].swap(m_judged);
    m_judged.clear();
}

bool CFavouriteSites::KeepsCookieFile(ISweepPort& port, const char* pszPath,
                                      const FolderEntry& entry) {
    if (!m_bKnown)
        return true;
    if (m_hosts.empty())
        return false;
    CRemembered judged;
    if (CRemembered* pJudged =
            FindRemembered(m_cookies[m_nJudgedSlot], m_nNextRemembered, entry.pszName);
        pJudged && IsUnchanged(pJudged->stamp, entry)) {
        // Judged from what was read then: again only when the favourites changed since.
        judged = std::move(*pJudged);
    } else {
        const uint64_t nReadTime = port.CurrentFileTime();
        if (entry.nSize > kMaxCookieFileBytes ||
            port.ReadSmallFile(pszPath, PathText::Ansi, kMaxCookieFileBytes, m_buffer) !=
                ReadResult::Read ||
            !ReadCookieHosts(m_buffer, m_recordHosts))
            return false;
        judged = {entry.pszName, {entry.nSize, entry.nWriteTime, nReadTime}, std::string(), 0};
        for (const std::string_view recordHost : m_recordHosts)
            (judged.strHosts += NormalizeHost(recordHost)) += ' ';
        judged.nJudgedIn = m_nGeneration - 1;
    }
    if (judged.nJudgedIn != m_nGeneration && !MatchesAFavourite(judged.strHosts))
        return false;
    judged.nJudgedIn = m_nGeneration;
    m_judged.push_back(std::move(judged));
    return true;
}

bool CFavouriteSites::MatchesAFavourite(std::string_view hosts) const {
    for (size_t nEnd; (nEnd = hosts.find(' ')) != std::string_view::npos;
         hosts.remove_prefix(nEnd + 1))
        for (const std::string& favourite : m_hosts)
            if (NormalizedHostsMatch(hosts.substr(0, nEnd), favourite))
                return true;
    return false;
}

void CFavouriteSites::ForgetCookieFiles() {
    m_cookies[0].clear();
    m_cookies[1].clear();
    ++m_nGeneration;
}

void CFavouriteSites::Forget() {
    ForgetCookieFiles();
    m_shortcuts.clear();
    m_hosts.clear();
    m_bWalkAgain = true;
}
