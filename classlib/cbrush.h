#pragma once

#include <windows.h>

#include "classlib/handles.h"

// A brush the program creates and owns; deleted when the object goes.
class CBrush {
public:
    // Replaces any brush held before.
    BOOL CreateSolidBrush(COLORREF crColor) {
        m_brush.Reset(::CreateSolidBrush(crColor));
        return m_brush.Get() != nullptr;
    }
    operator HBRUSH() const { return m_brush.Get(); }

private:
    CGdiHandle<HBRUSH> m_brush;
};
