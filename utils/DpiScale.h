// Pixel sizes are given as they are at 96 DPI (100 %); a DpiScale turns them into pixels
// at the DPI of a window or a monitor. The functions of newer Windows are looked up at
// run time, so that the program still starts on Windows 7.
#pragma once
#include <windows.h>

// Windows 8.1 on; the headers show it only to programs for those systems.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace velutils {

class DpiScale {
public:
    static const UINT kBaseDpi = 96;

    explicit DpiScale(UINT dpi = kBaseDpi) : m_dpi(dpi ? dpi : kBaseDpi) {}

    // The DPI of the monitor the window is on (Windows 8.1 on), else the system's.
    static DpiScale OfWindow(HWND window);
    // The DPI of the primary monitor, where the taskbar and its notification area are.
    static DpiScale OfPrimaryMonitor();
    // The DPI that GetSystemMetrics and the screen's device context answer for.
    static DpiScale OfSystem();

    UINT Dpi() const { return m_dpi; }
    // `pixels` at 96 DPI, at this DPI.
    int Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(m_dpi), static_cast<int>(kBaseDpi)); }
    // `pixels` at the DPI `from`, at this DPI.
    int ScaleFrom(int pixels, UINT from) const;
    // A system metric (SM_CXSMICON, ...) as the system gives it at this DPI.
    int SystemMetric(int index) const;

    bool operator==(const DpiScale& other) const { return m_dpi == other.m_dpi; }
    bool operator!=(const DpiScale& other) const { return m_dpi != other.m_dpi; }

private:
    static UINT MonitorDpi(HMONITOR monitor);

    UINT m_dpi;
};

}  // namespace velutils
