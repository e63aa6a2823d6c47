#pragma once

#include <string>

// Owned, growable byte string in the system's ANSI code page, the string type of the whole
// program. Find and MakeUpper treat double-byte characters as whole characters.
class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength);

    CString& operator+=(const char* psz);

    friend CString operator+(const CString& a, const CString& b) { return CString(a) += b; }
    friend CString operator+(const CString& a, const char* b) { return CString(a) += b; }
    friend CString operator+(const char* a, const CString& b) { return CString(a) += b; }

    // Compares up to the first zero byte, as the C string functions do.
    bool operator==(const char* psz) const;

    int GetLength() const noexcept { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const noexcept { return m_str.empty(); }
    void Empty() noexcept { m_str.clear(); }
    const char* GetString() const noexcept { return m_str.c_str(); }
    operator const char*() const noexcept { return GetString(); }

    // printf-style formatting; the program formats with "%s" only.
    void Format(const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));

    // Position of the first occurrence of pszSub at or after nStart, or -1. A match never
    // begins on the second byte of a double-byte character.
    int Find(const char* pszSub, int nStart = 0) const;
    // Upper-cases the single-byte letters a-z; both bytes of a double-byte character stay.
    CString& MakeUpper();

private:
    std::string m_str;
};

// True when the byte starts a double-byte character in the system's ANSI code page (code page
// 932 where no such system exists).
bool IsLeadByte(unsigned char ch);
