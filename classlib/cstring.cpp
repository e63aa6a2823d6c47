#include "classlib/cstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

bool IsLeadByte(unsigned char ch) {
#ifdef _WIN32
    return IsDBCSLeadByte(ch) != FALSE;
#else
    return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
#endif
}

CString::CString(const char* pch, int nLength) {
    if (pch && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
}

CString& CString::operator+=(const char* psz) {
    // psz may point into this string's own text: std::string copies it before letting go.
    if (psz)
        m_str.append(psz);
    return *this;
}

bool CString::operator==(const char* psz) const {
    return std::strcmp(GetString(), psz ? psz : "") == 0;
}

void CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    // Printed into a new text first: an argument may point into this string.
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        std::vsnprintf(text.data(), text.size() + 1, pszFormat, args);
    va_end(args);
    m_str = std::move(text);
}

int CString::Find(const char* pszSub, int nStart) const {
    const int nLength = static_cast<int>(m_str.size());
    if (!pszSub || nStart < 0 || nStart > nLength)
        return -1;
    const int nSub = static_cast<int>(std::strlen(pszSub));
    const char* p = GetString();
    // Walk whole characters so that a match can only begin on a character boundary.
    int i = 0;
    while (i < nStart)
        i += (IsLeadByte(static_cast<unsigned char>(p[i])) && p[i + 1] != '\0') ? 2 : 1;
    for (; i + nSub <= nLength;) {
        if (std::memcmp(p + i, pszSub, static_cast<size_t>(nSub)) == 0)
            return i;
        i += (IsLeadByte(static_cast<unsigned char>(p[i])) && i + 1 < nLength) ? 2 : 1;
    }
    return -1;
}

CString& CString::MakeUpper() {
    const size_t nLength = m_str.size();
    for (size_t i = 0; i < nLength;) {
        const unsigned char ch = static_cast<unsigned char>(m_str[i]);
        if (IsLeadByte(ch) && i + 1 < nLength) {
            i += 2;
            continue;
        }
        if (ch >= 'a' && ch <= 'z')
            m_str[i] = static_cast<char>(ch - 'a' + 'A');
        ++i;
    }
    return *this;
}
