#include "pages/MeterDrawing.h"

#include <algorithm>

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

RECT UpperBar(const RECT& client)
{
    return {client.left, client.top, client.right, client.bottom / 2 - 1};
}

RECT LowerBar(const RECT& client)
{
    return {client.left, client.bottom / 2 + 1, client.right, client.bottom};
}

// Turns a bar drawn with shownLevel into one with level: only the cells
// that change are filled anew; edges and background stay as they are.
void RefillMeterBar(HDC dc, const RECT& bar, int32_t shownLevel, int32_t level)
{
    const int shown = std::clamp(MeterLitCells(shownLevel), 0, kCellCount);
    const int lit = std::clamp(MeterLitCells(level), 0, kCellCount);
    for (int i = std::min(shown, lit); i < std::max(shown, lit); ++i) {
        // The cell's edge covers its outer ring of pixels: only what lies
        // inside is filled, so the edge stays as DrawMeterBar drew it.
        RECT inside = MeterCellRect(bar, i);
        InflateRect(&inside, -1, -1);
        FillSolid(dc, inside, i < lit ? MeterCellColor(i) : GetSysColor(COLOR_BTNFACE));
    }
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

RECT MeterCellRect(const RECT& bar, int cell)
{
    const int width = (bar.right - bar.left - 2 * kMargin) / kCellCount - kMargin;
    RECT rect;
    rect.left = cell * (width + kMargin) + kMargin;
    rect.right = rect.left + width;
    rect.top = bar.top + kMargin;
    rect.bottom = bar.bottom - kMargin;
    return rect;
}

void DrawMeterBar(HDC dc, const RECT& bar, int32_t level)
{
    const int lit = MeterLitCells(level);
    for (int i = 0; i < kCellCount; ++i) {
        RECT cell = MeterCellRect(bar, i);
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
    DrawMeterBar(dc, UpperBar(client), downstreamLevel);
    DrawMeterBar(dc, LowerBar(client), upstreamLevel);
}

void RefillActivityMeter(HDC dc, const RECT& client, const MeterLevels& shown, const MeterLevels& levels)
{
    RefillMeterBar(dc, UpperBar(client), shown.downstream, levels.downstream);
    RefillMeterBar(dc, LowerBar(client), shown.upstream, levels.upstream);
}
