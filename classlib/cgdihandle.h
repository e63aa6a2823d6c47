#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI object (a bitmap, a brush) and deletes it exactly once; move-only.
template <class THandle> class CGdiHandle {
public:
    CGdiHandle() = default;
    explicit CGdiHandle(THandle h) : m_h(h) {}
    CGdiHandle(CGdiHandle&& other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    CGdiHandle& operator=(CGdiHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_h, nullptr));
        return *this;
    }
    CGdiHandle(const CGdiHandle&) = delete;
    CGdiHandle& operator=(const CGdiHandle&) = delete;
    ~CGdiHandle() { Reset(); }

    THandle Get() const { return m_h; }
    void Reset(THandle h = nullptr) {
        if (m_h)
            ::DeleteObject(m_h);
        m_h = h;
    }

private:
    THandle m_h = nullptr;
};
