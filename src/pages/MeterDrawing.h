// The picture of the activity meter, drawn into any device context (the
// meter's own painting, WM_PRINTCLIENT, tests with a memory DC).
#pragma once

#include <windows.h>

#include <cstdint>

// Cell colours by cell index: green for cells 0-3, olive 4-6, maroon 7-9.
COLORREF MeterCellColor(int cell);

// How many of a bar's ten cells a level lights.
int MeterLitCells(int32_t level);

// The rectangle of a bar's cell that its colour fills; the cell's sunken
// edge is drawn round it, over its outer ring of pixels. Margins and edges
// are the lengths of 96 DPI scaled to `dpi`.
RECT MeterCellRect(const RECT& bar, int cell, unsigned dpi = 96);

// One bar of ten cells in `bar`, the first MeterLitCells(level) of them lit. Cells are
// placed from x = 0 (not from bar.left), 2 pixels apart and 2 pixels inside
// the bar's top and bottom (at 96 DPI), each with a sunken edge round it.
void DrawMeterBar(HDC dc, const RECT& bar, int32_t level, unsigned dpi = 96);

struct MeterLevels {
    int32_t upstream = 0;   // the lower bar
    int32_t downstream = 0; // the upper bar
};

// The whole meter for a client rectangle: button-face background, the upper
// bar with downstreamLevel (counter 0x0381), the lower bar with upstreamLevel (counter 0x0301).
void PaintActivityMeter(HDC dc, const RECT& client, int32_t upstreamLevel, int32_t downstreamLevel,
                        unsigned dpi = 96);

// Turns a whole meter painted with `shown` into one with `levels`, cell by cell.
void RefillActivityMeter(HDC dc, const RECT& client, const MeterLevels& shown, const MeterLevels& levels,
                         unsigned dpi = 96);
