#include "pages/MeterDrawing.h"

namespace {

constexpr int kCellCount = 10;
constexpr int kMargin = 2;

// Fills with a colour through the DC brush: nothing to create or delete.
void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    COLORREF old = SetDCBrushColor(dc, color);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, old);
}

} // namespace

COLORREF MeterCellColor(int cell)
{
    if (cell <= 3)
        return RGB(0, 128, 0);
    if (cell <= 6)
        return RGB(128, 128, 0);
    return RGB(128, 0, 0);
}

int MeterLitCells(int32_t level)
{
    return level / 10;
}

void DrawMeterBar(HDC dc, const RECT& bar, int32_t level)
{
    int lit = MeterLitCells(level);
    int width = (bar.right - bar.left - 2 * kMargin) / kCellCount - kMargin;
    for (int i = 0; i < kCellCount; ++i) {
        RECT cell;
        cell.left = i * (width + kMargin) + kMargin;
        cell.right = cell.left + width;
        cell.top = bar.top + kMargin;
        cell.bottom = bar.bottom - kMargin;
        FillSolid(dc, cell, i < lit ? MeterCellColor(i) : GetSysColor(COLOR_BTNFACE));
        InflateRect(&cell, 1, 1);
        DrawEdge(dc, &cell, EDGE_SUNKEN, BF_RECT);
    }
}

void PaintActivityMeter(HDC dc, const RECT& client, int32_t upstreamLevel, int32_t downstreamLevel)
{
    // The window class has no brush: the whole area is painted here, so
    // nothing needs erasing first (no flicker) and no stale pixels stay.
    FillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
    int half = client.bottom / 2 - 1;
    RECT upper = {client.left, client.top, client.right, half};
    RECT lower = {client.left, half + 2, client.right, client.bottom};
    DrawMeterBar(dc, upper, downstreamLevel);
    DrawMeterBar(dc, lower, upstreamLevel);
}
