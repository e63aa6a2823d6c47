#pragma once

#include <windows.h>

#include <utility>

// Owns one kernel handle (event, thread); move-only, closed exactly once.
class CKernelHandle {
public:
    CKernelHandle() = default;
    explicit CKernelHandle(HANDLE h) : m_h(h) {}
    CKernelHandle(CKernelHandle&& other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    CKernelHandle& operator=(CKernelHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_h = std::exchange(other.m_h, nullptr);
        }
        return *this;
    }
    CKernelHandle(const CKernelHandle&) = delete;
    CKernelHandle& operator=(const CKernelHandle&) = delete;
    ~CKernelHandle() { Close(); }

    HANDLE Get() const { return m_h; }

private:
    void Close() {
        if (m_h)
            CloseHandle(std::exchange(m_h, nullptr));
    }

    HANDLE m_h = nullptr;
};
