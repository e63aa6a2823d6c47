#pragma once

#include <cstddef>

// Owned, growable byte string in the system's ANSI code page, the string type of the whole
// program. Find and MakeUpper treat double-byte characters as whole characters.
class CString {
public:
    CString() noexcept = default;
    CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(const CString& other);
    CString(CString&& other) noexcept;
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const char* psz);

    CString& operator+=(const CString& other);
    CString& operator+=(const char* psz);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);

    bool operator==(const CString& other) const;
    bool operator==(const char* psz) const;

    int GetLength() const noexcept { return m_nLength; }
    bool IsEmpty() const noexcept { return m_nLength == 0; }
    void Empty() noexcept;
    const char* GetString() const noexcept { return m_pData ? m_pData : ""; }
    operator const char*() const noexcept { return GetString(); }
    char operator[](int nIndex) const { return GetString()[nIndex]; }

    // printf-style formatting; the program formats with "%s" only.
    void Format(const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));

    // Position of the first occurrence of pszSub at or after nStart, or -1. A match never
    // begins on the second byte of a double-byte character.
    int Find(const char* pszSub, int nStart = 0) const;
    // Upper-cases the single-byte letters a-z; both bytes of a double-byte character stay.
    CString& MakeUpper();

private:
    void Assign(const char* pch, int nLength);
    void Append(const char* pch, int nLength);
    void Reserve(int nCapacity);

    char* m_pData = nullptr;
    int m_nLength = 0;
    int m_nCapacity = 0;
};

// True when the byte starts a double-byte character in the system's ANSI code page (code page
// 932 where no such system exists).
bool IsLeadByte(unsigned char ch);
