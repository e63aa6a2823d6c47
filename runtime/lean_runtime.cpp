// Replacements, linked ahead of the static C++ and C run-time libraries, for three of their
// parts that cost far more than Wispfold uses of them. The linker takes a symbol from the first
// object that defines it, so the library's member is never pulled in; if some future code needs
// another symbol of such a member, the link fails on a duplicate definition instead of silently
// growing.
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

// Carries the message of the library's logic and run-time errors. The standard classes
// (std::length_error and its kin) keep their message in a reference-counted string whose code
// drags in both of the library's string implementations, about 80 KB; the program handles every
// exception the same way (a catch-all at each window procedure and thread entry), so the type
// does not matter to it.
class CLibraryError : public std::exception {
public:
    explicit CLibraryError(const char* pszWhat) noexcept : m_pszWhat(pszWhat) {}
    const char* what() const noexcept override { return m_pszWhat ? m_pszWhat : "library error"; }

private:
    const char* m_pszWhat;
};

} // namespace

// The default terminate handler demangles the exception's type name (about 45 KB) to print it on
// the standard error stream, which a windowed program does not have; it then aborts, as this does.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

// The containers' and std::function's error paths.
namespace std {
void __throw_bad_alloc() {
    throw bad_alloc();
}
void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}
void __throw_bad_cast() {
    throw bad_cast();
}
void __throw_bad_typeid() {
    throw bad_typeid();
}
void __throw_bad_exception() {
    throw bad_exception();
}
void __throw_logic_error(const char* pszWhat) {
    throw CLibraryError(pszWhat);
}
void __throw_domain_error(const char* pszWhat) {
    throw CLibraryError(pszWhat);
}
void __throw_invalid_argument(const char* pszWhat) {
    throw CLibraryError(pszWhat);
}
void __throw_length_error(const char* pszWhat) {
    throw CLibraryError(pszWhat);
}
void __throw_out_of_range(const char* pszWhat) {
    throw CLibraryError(pszWhat);
}
void __throw_out_of_range_fmt(const char* pszWhat, ...) {
    throw CLibraryError(pszWhat);
}
void __throw_runtime_error(const char* pszWhat) {
    throw CLibraryError(pszWhat);
}
void __throw_range_error(const char* pszWhat) {
    throw CLibraryError(pszWhat);
}
void __throw_overflow_error(const char* pszWhat) {
    throw CLibraryError(pszWhat);
}
void __throw_underflow_error(const char* pszWhat) {
    throw CLibraryError(pszWhat);
}
} // namespace std

// C++ code always gets MinGW's own printf family, whose floating-point and wide-character
// machinery is about 25 KB. CString::Format is declared with the system's printf format rules
// (the compiler checks its callers against them), so the system's msvcrt formatter is the one it
// promises; this gives it C99's return value (the full length, whatever the buffer's size).
extern "C" int __cdecl __mingw_vsnprintf(char* __restrict__ pszBuffer, size_t nSize,
                                         const char* __restrict__ pszFormat, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int nLength = _vscprintf(pszFormat, copy);
    va_end(copy);
    if (nSize > 0 && pszBuffer) {
        if (nLength < 0) {
            pszBuffer[0] = '\0';
        } else {
            _vsnprintf(pszBuffer, nSize, pszFormat, args);
            const size_t nEnd = static_cast<size_t>(nLength) < nSize ? nLength : nSize - 1;
            pszBuffer[nEnd] = '\0';
        }
    }
    return nLength;
}
