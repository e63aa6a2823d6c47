#include "classlib/cstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
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

CString::CString(const char* psz) {
    if (psz)
        Assign(psz, static_cast<int>(std::strlen(psz)));
}

CString::CString(const char* pch, int nLength) {
    if (pch && nLength > 0)
        Assign(pch, nLength);
}

CString::CString(const CString& other) {
    Assign(other.m_pData, other.m_nLength);
}

CString::CString(CString&& other) noexcept
    : m_pData(std::exchange(other.m_pData, nullptr)), m_nLength(std::exchange(other.m_nLength, 0)),
      m_nCapacity(std::exchange(other.m_nCapacity, 0)) {}

CString::~CString() {
    std::free(m_pData);
}

CString& CString::operator=(const CString& other) {
    if (this != &other)
        Assign(other.m_pData, other.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        std::free(m_pData);
        m_pData = std::exchange(other.m_pData, nullptr);
        m_nLength = std::exchange(other.m_nLength, 0);
        m_nCapacity = std::exchange(other.m_nCapacity, 0);
    }
    return *this;
}

CString& CString::operator=(const char* psz) {
    // psz may point into this string's own buffer: copy before releasing anything.
    CString copy(psz);
    return *this = std::move(copy);
}

CString& CString::operator+=(const CString& other) {
    Append(other.m_pData, other.m_nLength);
    return *this;
}

CString& CString::operator+=(const char* psz) {
    if (psz)
        Append(psz, static_cast<int>(std::strlen(psz)));
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, const char* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const char* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

bool CString::operator==(const CString& other) const {
    return m_nLength == other.m_nLength &&
           std::memcmp(GetString(), other.GetString(), static_cast<size_t>(m_nLength)) == 0;
}

bool CString::operator==(const char* psz) const {
    return std::strcmp(GetString(), psz ? psz : "") == 0;
}

void CString::Empty() noexcept {
    m_nLength = 0;
    if (m_pData)
        m_pData[0] = '\0';
}

void CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        Empty();
    } else {
        Reserve(n);
        std::vsnprintf(m_pData, static_cast<size_t>(n) + 1, pszFormat, args);
        m_nLength = n;
    }
    va_end(args);
}

int CString::Find(const char* pszSub, int nStart) const {
    if (!pszSub || nStart < 0 || nStart > m_nLength)
        return -1;
    const int nSub = static_cast<int>(std::strlen(pszSub));
    const char* p = GetString();
    // Walk whole characters so that a match can only begin on a character boundary.
    int i = 0;
    while (i < nStart)
        i += (IsLeadByte(static_cast<unsigned char>(p[i])) && p[i + 1] != '\0') ? 2 : 1;
    for (; i + nSub <= m_nLength;) {
        if (std::memcmp(p + i, pszSub, static_cast<size_t>(nSub)) == 0)
            return i;
        i += (IsLeadByte(static_cast<unsigned char>(p[i])) && i + 1 < m_nLength) ? 2 : 1;
    }
    return -1;
}

CString& CString::MakeUpper() {
    for (int i = 0; i < m_nLength;) {
        unsigned char ch = static_cast<unsigned char>(m_pData[i]);
        if (IsLeadByte(ch) && i + 1 < m_nLength) {
            i += 2;
            continue;
        }
        if (ch >= 'a' && ch <= 'z')
            m_pData[i] = static_cast<char>(ch - 'a' + 'A');
        ++i;
    }
    return *this;
}

void CString::Assign(const char* pch, int nLength) {
    if (nLength <= 0 || !pch) {
        Empty();
        return;
    }
    if (m_pData && pch >= m_pData && pch < m_pData + m_nCapacity + 1) {
        // Assigning a piece of ourselves: go through a copy.
        CString copy(pch, nLength);
        *this = std::move(copy);
        return;
    }
    Reserve(nLength);
    std::memcpy(m_pData, pch, static_cast<size_t>(nLength));
    m_pData[nLength] = '\0';
    m_nLength = nLength;
}

void CString::Append(const char* pch, int nLength) {
    if (nLength <= 0 || !pch)
        return;
    if (m_pData && pch >= m_pData && pch < m_pData + m_nCapacity + 1) {
        CString copy(pch, nLength);
        Append(copy.m_pData, copy.m_nLength);
        return;
    }
    Reserve(m_nLength + nLength);
    std::memcpy(m_pData + m_nLength, pch, static_cast<size_t>(nLength));
    m_nLength += nLength;
    m_pData[m_nLength] = '\0';
}

void CString::Reserve(int nCapacity) {
    if (m_pData && nCapacity <= m_nCapacity)
        return;
    int nNew = m_nCapacity < 16 ? 16 : m_nCapacity;
    while (nNew < nCapacity)
        nNew *= 2;
    char* p = static_cast<char*>(std::realloc(m_pData, static_cast<size_t>(nNew) + 1));
    if (!p)
        throw std::bad_alloc();
    if (!m_pData)
        p[0] = '\0';
    m_pData = p;
    m_nCapacity = nNew;
}
