#include "pages/MeterDrawing.h"

#include "framework/Dpi.h"

#include <algorithm>

namespace {

constexpr int kCellCount = 10;
constexpr int kMargin = 2; // at 96 DPI, as the edges' lines are 1 pixel wide

// Fills with a colour through the DC brush: nothing to create or delete.
void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    COLORREF old = SetDCBrushColor(dc, color);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, old);
}

// The two bars, 2 pixels apart at 96 DPI.
RECT UpperBar(const RECT& client, unsigned dpi)
{
    return {client.left, client.top, client.right, client.bottom / 2 - Dpi::Scale(1, dpi)};
}

RECT LowerBar(const RECT& client, unsigned dpi)
{
    return {client.left, client.bottom / 2 + Dpi::Scale(1, dpi), client.right, client.bottom};
}

// A sunken edge whose two lines are `width` pixels wide each, inside `rect`.
void DrawSunkenEdge(HDC dc, RECT rect, int width)
{
    if (width <= 1) {
        DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT);
        return;
    }
    for (UINT line : {UINT(BDR_SUNKENOUTER), UINT(BDR_SUNKENINNER)})
        for (int i = 0; i < width; ++i) {
            DrawEdge(dc, &rect, line, BF_RECT);
            InflateRect(&rect, -1, -1);
        }
}

// Turns a bar drawn with shownLevel into one with level: only the cells
// that change are filled anew; edges and background stay as they are.
void RefillMeterBar(HDC dc, const RECT& bar, int32_t shownLevel, int32_t level, unsigned dpi)
{
    const int shown = std::clamp(MeterLitCells(shownLevel), 0, kCellCount);
    const int lit = std::clamp(MeterLitCells(level), 0, kCellCount);
    const int line = Dpi::Scale(1, dpi);
    for (int i = std::min(shown, lit); i < std::max(shown, lit); ++i) {
        // The cell's edge covers its outer ring of pixels: only what lies
        // inside is filled, so the edge stays as DrawMeterBar drew it.
        RECT inside = MeterCellRect(bar, i, dpi);
        InflateRect(&inside, -line, -line);
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

RECT MeterCellRect(const RECT& bar, int cell, unsigned dpi)
{
    const int margin = Dpi::Scale(kMargin, dpi);
    const int width = (bar.right - bar.left - 2 * margin) / kCellCount - margin;
    RECT rect;
    rect.left = cell * (width + margin) + margin;
    rect.right = rect.left + width;
    rect.top = bar.top + margin;
    rect.bottom = bar.bottom - margin;
    return rect;
}

void DrawMeterBar(HDC dc, const RECT& bar, int32_t level, unsigned dpi)
{
    const int lit = MeterLitCells(level);
    const int line = Dpi::Scale(1, dpi);
    for (int i = 0; i < kCellCount; ++i) {
        RECT cell = MeterCellRect(bar, i, dpi);
        FillSolid(dc, cell, i < lit ? MeterCellColor(i) : GetSysColor(COLOR_BTNFACE));
        InflateRect(&cell, line, line);
        DrawSunkenEdge(dc, cell, line);
    }
}

void PaintActivityMeter(HDC dc, const RECT& client, int32_t upstreamLevel, int32_t downstreamLevel, unsigned dpi)
{
    // The window class has no brush: the whole area is painted here, so
    // nothing needs erasing first (no flicker) and no stale pixels stay.
    FillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
    DrawMeterBar(dc, UpperBar(client, dpi), downstreamLevel, dpi);
    DrawMeterBar(dc, LowerBar(client, dpi), upstreamLevel, dpi);
}

void RefillActivityMeter(HDC dc, const RECT& client, const MeterLevels& shown, const MeterLevels& levels,
                         unsigned dpi)
{
    RefillMeterBar(dc, UpperBar(client, dpi), shown.downstream, levels.downstream, dpi);
    RefillMeterBar(dc, LowerBar(client, dpi), shown.upstream, levels.upstream, dpi);
}
