#pragma once
// CStatic: a static control of a dialog. The dialog's window owns the control; this
// only refers to it.
#include <windows.h>

class CStatic {
public:
    CStatic() = default;
    CStatic(const CStatic&) = delete;
    CStatic& operator=(const CStatic&) = delete;

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    // STM_SETICON; returns the previous icon.
    HICON SetIcon(HICON icon) {
        return reinterpret_cast<HICON>(
            ::SendMessageW(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
    }

    HWND m_hWnd = nullptr;
};
