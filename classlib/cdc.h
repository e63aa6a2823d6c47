#pragma once

#include <windows.h>

#include "classlib/cwnd.h"

// A device context the program draws on. This class borrows the handle (a colour request's
// context, an owner-draw context); CPaintDC owns one for the length of a paint.
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    HDC GetSafeHdc() const { return m_hDC; }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

    HDC m_hDC = nullptr;
};

// The paint context of one WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }
    ~CPaintDC() override {
        if (m_hDC)
            ::EndPaint(m_hWnd, &m_ps);
    }

    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd = nullptr;
};
