#pragma once

#include <string>

#include "classlib/cstring.h"

// Text rules of the class library that must respect double-byte characters: a byte 0x5C ('\')
// or 0x7C ('|') can be the second byte of a code-page-932 character ("表" is 95 5C, "ポ" is 83 7C)
// and then is no separator.

// The application's name from the executable's path: the file name after the last '\', '/' or
// ':', without its extension (the part from the last '.', unless a blank follows that '.').
CString ExeNameFromModulePath(const char* pszPath);

// An open-file filter written with '|' between its parts ("Text(*.txt)|*.txt||") turned into
// the list of zero-terminated parts that the common file dialog reads, ending in two zero
// bytes. The result's size counts every byte, the final zero bytes included.
std::string FilterToNulSeparated(const char* pszFilter);
