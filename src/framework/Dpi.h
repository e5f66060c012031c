// The program's display-scale arithmetic, in one place. Every length of the
// program's layout is given at 96 DPI (100 %) and scaled to the DPI of the
// window it is drawn in. The arithmetic is portable (the bitmap code sizes
// its scaled pictures with it); the queries of the platform are Win32 only.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace Dpi {

inline constexpr unsigned kStandard = 96;

// `value` measured at `from` DPI, measured at `to` DPI: rounded to the
// nearest pixel, halves away from zero (as MulDiv rounds).
inline int Rescale(int value, unsigned from, unsigned to)
{
    if (from == 0 || from == to)
        return value;
    const int64_t product = int64_t(value) * int64_t(to);
    const int64_t half = int64_t(from / 2);
    return int((product >= 0 ? product + half : product - half) / int64_t(from));
}

// A length (or a font height, sign kept) of the 96 DPI layout at `dpi`.
inline int Scale(int length, unsigned dpi)
{
    return Rescale(length, kStandard, dpi);
}

#ifdef _WIN32
// Each edge scaled on its own, so that rectangles that meet at 96 DPI still meet.
inline RECT Rescale(const RECT& rect, unsigned from, unsigned to)
{
    return {Rescale(rect.left, from, to), Rescale(rect.top, from, to), Rescale(rect.right, from, to),
            Rescale(rect.bottom, from, to)};
}
inline RECT Scale(const RECT& rect, unsigned dpi)
{
    return Rescale(rect, kStandard, dpi);
}

// The system's DPI, which stock objects and GetSystemMetrics are made for.
unsigned System();
// The DPI a window is drawn at: GetDpiForWindow where the system has it
// (Windows 10 1607 on), else the screen's logical pixels per inch.
unsigned ForWindow(HWND window);
// The DPI of the monitor that holds a point, for a window about to be made
// there (GetDpiForMonitor where the system has it, else the screen's).
unsigned ForPoint(POINT point);
// A system metric (an icon size) at a DPI: GetSystemMetricsForDpi where the
// system has it, else the metric of 96 DPI scaled.
int SystemMetric(int index, unsigned dpi);
#endif

} // namespace Dpi
