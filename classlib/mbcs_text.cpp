#include "classlib/mbcs_text.h"

#include <cstring>

namespace {
// The next character: two bytes for a lead byte that has its trail byte.
const char* NextChar(const char* p) {
    return IsLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0' ? p + 2 : p + 1;
}
} // namespace

CString ExeNameFromModulePath(const char* pszPath) {
    if (!pszPath)
        return CString();
    const char* pName = pszPath;
    for (const char* p = pszPath; *p; p = NextChar(p))
        if (*p == '\\' || *p == '/' || *p == ':')
            pName = p + 1;
    // The shell's rule for an extension: a blank after the last dot means there is none.
    const char* pDot = nullptr;
    for (const char* p = pName; *p; p = NextChar(p)) {
        if (*p == '.')
            pDot = p;
        else if (*p == ' ')
            pDot = nullptr;
    }
    const size_t nLength = pDot ? static_cast<size_t>(pDot - pName) : std::strlen(pName);
    return CString(pName, static_cast<int>(nLength));
}

std::string FilterToNulSeparated(const char* pszFilter) {
    std::string result;
    if (pszFilter) {
        for (const char* p = pszFilter; *p;) {
            const char* pNext = NextChar(p);
            if (pNext - p == 1 && *p == '|')
                result.push_back('\0');
            else
                for (; p != pNext; ++p)
                    result.push_back(*p);
            p = pNext;
        }
    }
    // The list ends with an empty part; a filter written without its closing "||" still ends so.
    while (result.size() < 2 || result[result.size() - 1] != '\0' ||
           result[result.size() - 2] != '\0')
        result.push_back('\0');
    return result;
}
