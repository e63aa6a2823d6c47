#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/cstring.h"
#include "sweep/sweep_port.h"

// The hosts of the user's favourites and the rule that keeps a cookie file of one of them. The
// rule keeps only what it can prove: a file it cannot read, or that is not made of whole cookie
// records, is not kept.

// The host in the form the rule compares: lower case, without a leading or a trailing dot;
// empty when it is no plain host name (only letters, digits, '-', '_' and dots between
// non-empty labels). A name with other bytes (raw double-byte text, percent signs, an address
// in brackets) is never a match: its case cannot be folded byte by byte, since a trail byte of
// code page 932 can be an ASCII letter.
std::string NormalizeHost(std::string_view host);

// Whether two hosts name the same site: equal without case, or one a subdomain of the other at a
// label boundary. A single label (a top-level name) and an IPv4 address only match themselves.
bool HostsMatch(std::string_view a, std::string_view b);

// The hosts of a cookie file's records (each record: name, value, host/path, flags, four time
// words, "*"; lines end in LF or CRLF). False when the content is not wholly made of such records:
// empty, truncated, a malformed number or host, or anything after the last record.
bool ReadCookieHosts(std::string_view content, std::vector<std::string_view>& hosts);

// The normalized host of an Internet shortcut's "URL=" in its [InternetShortcut] section, for
// http and https only; empty otherwise.
std::string FavouriteHost(std::string_view content);

// What the rule read of a file: the size and last write the listing showed, and when the
// reading began, all in the listing's units.
struct CFileStamp {
    uint64_t nSize;
    uint64_t nWriteTime;
    uint64_t nReadTime;
};

// Whether what was read of a file still holds for the entry a listing shows now: the same size
// and last write, and the reading began more than the coarsest step of a file system's clock
// after that write (FAT keeps last writes to 2 s), so no later write can have left that stamp.
bool IsUnchanged(const CFileStamp& read, const FolderEntry& now);

// The rule's knowledge: the hosts of the favourites, and the cookie files it judged kept. Only
// what changed is read again: a pass over unchanged favourites and kept files opens no file.
class CFavouriteSites {
public:
    // Bounds of one walk over the favourites: entries visited and folder depth below the root.
    static constexpr int kMaxEntries = 2000;
    static constexpr int kMaxDepth = 8;
    // Larger files are not read: a cookie file holds a few kilobytes, a shortcut less.
    static constexpr size_t kMaxCookieFileBytes = 256 * 1024;
    static constexpr size_t kMaxShortcutBytes = 64 * 1024;

    // Walks the favourites below the folder the port names when they may have changed, or when
    // the last walk did not read them all, reading only new or changed shortcuts; bStop cuts a
    // walk short.
    void Update(ISweepPort& port, const std::atomic<bool>& bStop);
    // False when a folder of the favourites or a shortcut could not be read: which sites are
    // favourites is then unknown, and nothing the rule judges may be deleted.
    bool IsKnown() const { return m_bKnown; }
    const std::vector<std::string>& Hosts() const { return m_hosts; }
    // Changes whenever a verdict may change: the hosts or whether they are known, or what is
    // remembered of the cookie files.
    unsigned Generation() const { return m_nGeneration; }

    // The cookie files of one folder (kCookieSlot, kLowSlot) are judged between the two calls;
    // what the folder's last judging remembered and this one did not judge again is forgotten.
    void BeginCookieFolder(int nSlot);
    void EndCookieFolder();
    // Whether the cookie file belongs to a favourite. It is read only when it is new, or has
    // changed since it was last judged kept.
    bool KeepsCookieFile(ISweepPort& port, const char* pszPath, const FolderEntry& entry);

    // What is remembered of the cookie files goes when the browser, which writes them, was open;
    // everything goes when the rule is switched off.
    void ForgetCookieFiles();
    void Forget();
    // How many files' readings are remembered.
    size_t RememberedFiles() const {
        return m_shortcuts.size() + m_cookies[0].size() + m_cookies[1].size();
    }

private:
    struct CRemembered {
        // A shortcut's full path, or a cookie file's name.
        std::string strName;
        CFileStamp stamp;
        // A shortcut's host, or the hosts of a cookie file's records, each followed by a blank.
        std::string strHosts;
        // The generation in which a cookie file was last judged kept.
        unsigned nJudgedIn;
    };

    void WalkFolder(ISweepPort& port, const std::string& strFolder, int nDepth, int& nBudget,
                    const std::atomic<bool>& bStop, std::vector<CRemembered>& shortcuts);
    bool MatchesAFavourite(std::string_view hosts) const;

    std::string m_strFolder;
    // In the order they were listed.
    std::vector<CRemembered> m_shortcuts;
    std::vector<CRemembered> m_cookies[2];
    std::vector<CRemembered> m_judged;
    int m_nJudgedSlot = kCookieSlot;
    size_t m_nNextRemembered = 0;
    std::vector<std::string> m_hosts;
    bool m_bKnown = true;
    bool m_bWalkAgain = true;
    unsigned m_nGeneration = 0;
    // Reused from file to file.
    std::string m_buffer;
    std::vector<std::string_view> m_recordHosts;
};
