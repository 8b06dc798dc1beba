// The device context of a WM_PAINT, between BeginPaint and EndPaint.
#pragma once
#include <windows.h>

class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hwnd(hwnd), m_dc(BeginPaint(hwnd, &m_ps)) {}
    ~CPaintDC() { EndPaint(m_hwnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps = {};
    HDC m_dc;
};
