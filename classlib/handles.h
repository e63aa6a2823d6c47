#pragma once

#include <windows.h>

#include <ole2.h>

#include <utility>

// Owns one handle and gives it to Close exactly once: when replaced, when reset, or when the
// owner goes. Move-only; a moved-from owner is empty and closes nothing. The empty value is the
// type's zero: a handle whose failure value is another one (INVALID_HANDLE_VALUE) is checked
// before it is handed over.
template <class T, auto Close> class CHandle {
public:
    CHandle() = default;
    explicit CHandle(T h) : m_h(h) {}
    CHandle(CHandle&& other) noexcept : m_h(std::exchange(other.m_h, T{})) {}
    CHandle& operator=(CHandle&& other) noexcept {
        Reset(std::exchange(other.m_h, T{}));
        return *this;
    }
    ~CHandle() { Reset(); }

    T Get() const { return m_h; }
    T operator->() const { return m_h; }
    explicit operator bool() const { return m_h != T{}; }
    // For out-parameters: closes the current handle and hands out the empty slot.
    T* Receive() {
        Reset();
        return &m_h;
    }
    // The owner lets go first, so a closer that calls back finds it empty already.
    void Reset(T h = T{}) {
        if (T old = std::exchange(m_h, h))
            Close(old);
    }

private:
    T m_h{};
};

template <class I> void ReleaseComRef(I* p) {
    p->Release();
}
inline void EndOle(bool) {
    OleUninitialize();
}

using CKernelHandle = CHandle<HANDLE, &CloseHandle>;
using CFindHandle = CHandle<HANDLE, &FindClose>;
using CRegKey = CHandle<HKEY, &RegCloseKey>;
using CHook = CHandle<HHOOK, &UnhookWindowsHookEx>;
template <class THandle> using CGdiHandle = CHandle<THandle, &DeleteObject>;
using CMemoryDC = CHandle<HDC, &DeleteDC>;
using CMenuHandle = CHandle<HMENU, &DestroyMenu>;
// Memory the shell allocated for the caller (an item identifier list).
template <class T> using CTaskMem = CHandle<T, &CoTaskMemFree>;
// One COM reference.
template <class I> using CComRef = CHandle<I*, &ReleaseComRef<I>>;
// A successful OleInitialize of the calling thread (true), undone once.
using COleInit = CHandle<bool, &EndOle>;
