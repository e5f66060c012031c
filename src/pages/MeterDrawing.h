// The picture of the activity meter, drawn into any device context (the
// meter's own painting, WM_PRINTCLIENT, tests with a memory DC).
#pragma once

#include <windows.h>

#include <cstdint>

// Cell colours by cell index: green for cells 0-3, olive 4-6, maroon 7-9.
COLORREF MeterCellColor(int cell);

// How many of a bar's ten cells a level lights.
int MeterLitCells(int32_t level);

// One bar of ten cells in `bar`, the first MeterLitCells(level) of them lit. Cells are
// placed from x = 0 (not from bar.left), 2 pixels apart and 2 pixels inside
// the bar's top and bottom, each with a sunken edge round it.
void DrawMeterBar(HDC dc, const RECT& bar, int32_t level);

// The whole meter for a client rectangle: button-face background, the upper
// bar with downstreamLevel (counter 0x0381), the lower bar with upstreamLevel (counter 0x0301).
void PaintActivityMeter(HDC dc, const RECT& client, int32_t upstreamLevel, int32_t downstreamLevel);
