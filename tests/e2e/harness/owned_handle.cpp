#include "tests/e2e/harness/owned_handle.h"

COwnedHandle& COwnedHandle::operator=(COwnedHandle&& other) noexcept {
    if (this != &other) {
        Close();
        m_h = other.m_h;
        other.m_h = nullptr;
    }
    return *this;
}

void COwnedHandle::Close() {
    if (m_h != nullptr && m_h != INVALID_HANDLE_VALUE)
        CloseHandle(m_h);
    m_h = nullptr;
}
