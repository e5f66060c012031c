#include "framework/Dpi.h"

#include "settings/SystemFunction.h"

namespace {

// The screen's DPI, as systems before per-monitor DPI know it.
unsigned ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? unsigned(dpi) : Dpi::kStandard;
}

} // namespace

namespace Dpi {

unsigned System()
{
    return ScreenDpi();
}

unsigned ForWindow(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi ? dpi : ScreenDpi();
}

unsigned ForPoint(POINT point)
{
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForMonitor = SystemFunction<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
    if (getDpiForMonitor &&
        SUCCEEDED(getDpiForMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY), kEffectiveDpi, &x, &y)) && x)
        return x;
    return ScreenDpi();
}

int SystemMetric(int index, unsigned dpi)
{
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto forDpi = SystemFunction<GetSystemMetricsForDpiFunction>(L"user32.dll", "GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, dpi);
    // Without it the metric is the system's own, at the system's DPI.
    return Rescale(GetSystemMetrics(index), ScreenDpi(), dpi);
}

} // namespace Dpi
