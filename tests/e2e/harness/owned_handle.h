#pragma once

#include <windows.h>

// Owns one kernel handle (process, thread, event) and closes it; move-only.
class COwnedHandle {
public:
    COwnedHandle() = default;
    explicit COwnedHandle(HANDLE h) : m_h(h) {}
    COwnedHandle(COwnedHandle&& other) noexcept : m_h(other.m_h) { other.m_h = nullptr; }
    COwnedHandle& operator=(COwnedHandle&& other) noexcept;
    COwnedHandle(const COwnedHandle&) = delete;
    COwnedHandle& operator=(const COwnedHandle&) = delete;
    ~COwnedHandle() { Close(); }

    HANDLE Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
    void Close();

private:
    HANDLE m_h = nullptr;
};
