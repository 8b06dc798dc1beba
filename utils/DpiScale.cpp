#include "utils/DpiScale.h"

#include "utils/UniqueHandle.h"

namespace velutils {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

const int kEffectiveDpi = 0;     // MDT_EFFECTIVE_DPI

template <class Fn>
Fn User32Function(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// shcore.dll (Windows 8.1 on), from the system directory only; kept for the process.
GetDpiForMonitorFn MonitorDpiFunction()
{
    static const ModuleHandle shcore = [] {
        char path[MAX_PATH] = "";
        UINT length = GetSystemDirectoryA(path, MAX_PATH);
        if (length == 0 || length + sizeof "\\shcore.dll" > MAX_PATH)
            return ModuleHandle();
        lstrcatA(path, "\\shcore.dll");
        return ModuleHandle(LoadLibraryA(path));
    }();
    static const auto function = shcore ? reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(
                                              GetProcAddress(shcore.Get(), "GetDpiForMonitor")))
                                        : GetDpiForMonitorFn(nullptr);
    return function;
}

}  // namespace

DpiScale DpiScale::OfWindow(HWND window)
{
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (UINT dpi = getDpiForWindow(window))
            return DpiScale(dpi);
    }
    return DpiScale(MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)));
}

DpiScale DpiScale::OfPrimaryMonitor()
{
    const POINT origin = { 0, 0 };
    return DpiScale(MonitorDpi(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY)));
}

DpiScale DpiScale::OfSystem()
{
    MemoryDc screen(CreateCompatibleDC(nullptr));
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return DpiScale(dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi);
}

UINT DpiScale::MonitorDpi(HMONITOR monitor)
{
    UINT x = 0, y = 0;
    GetDpiForMonitorFn getDpiForMonitor = MonitorDpiFunction();
    if (monitor && getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y)
        return y;
    return OfSystem().Dpi();
}

int DpiScale::ScaleFrom(int pixels, UINT from) const
{
    return MulDiv(pixels, static_cast<int>(m_dpi), static_cast<int>(from ? from : kBaseDpi));
}

int DpiScale::SystemMetric(int index) const
{
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, m_dpi);
    return OfSystem() == *this ? GetSystemMetrics(index) : ScaleFrom(GetSystemMetrics(index), OfSystem().Dpi());
}

}  // namespace velutils
