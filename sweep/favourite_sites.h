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

class CFavouriteSites {
public:
    // Bounds of one reading of the favourites: entries visited and folder depth below the root.
    static constexpr int kMaxEntries = 2000;
    static constexpr int kMaxDepth = 8;
    // Larger files are not read: a cookie file holds a few kilobytes, a shortcut less.
    static constexpr size_t kMaxCookieFileBytes = 256 * 1024;
    static constexpr size_t kMaxShortcutBytes = 64 * 1024;

    // Reads the hosts of the favourites below the folder the port names; bStop cuts it short.
    void Load(ISweepPort& port, const std::atomic<bool>& bStop);
    // False when a folder of the favourites or a shortcut could not be read: which sites are
    // favourites is then unknown, and nothing the rule judges may be deleted.
    bool IsKnown() const { return m_bKnown; }
    bool IsEmpty() const { return m_hosts.empty(); }
    const std::vector<std::string>& Hosts() const { return m_hosts; }
    // Whether the cookie file at the path belongs to a loaded favourite.
    bool KeepsCookieFile(ISweepPort& port, const char* pszPath);

private:
    void LoadFolder(ISweepPort& port, const std::string& strFolder, int nDepth, int& nBudget,
                    const std::atomic<bool>& bStop);

    std::vector<std::string> m_hosts;
    bool m_bKnown = true;
    // Reused from file to file.
    std::string m_buffer;
    std::vector<std::string_view> m_recordHosts;
};
