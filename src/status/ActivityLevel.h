// How busy one direction of the line was during a tick: the cells its
// counter moved, as a percentage of the line rate (53-byte cells, rate in
// kbit/s). The status page's meter and the skinned window's bars each show
// it with arithmetic of their own, kept here side by side: the two windows
// have always rounded differently, and a level that moved from one to the
// other would light a different number of cells for the same traffic.
#pragma once

#include <cstdint>
#include <string>

// Cells counted since the previous reading; a counter that wrapped once
// still counts right (unsigned 32-bit difference).
inline uint32_t CellDelta(uint32_t now, uint32_t previous)
{
    return now - previous;
}

// The lowest level that lights one cell or segment; any traffic shows.
inline constexpr int32_t kLowestBusyLevel = 11;

// The status page's meter: trunc(cells x 53 x 8 x 100 / (rate x 1000)),
// each step rounded to single precision and the divisor a 64-bit product;
// 0 for a rate of 0; at least 11 when any cell moved. Absurd quotients are
// capped far above 100 (ten cells lit).
int32_t PageActivityLevel(uint32_t cells, uint32_t rateKbps);

// The skinned window's bars: the same quotient with rate x 1000 taken as a
// signed 32-bit product (0 for a product of 0), computed in double and
// rounded to single precision before it is truncated; at least 11 when any
// cell moved; a huge difference against a tiny rate reads as a full bar.
int32_t SkinActivityLoad(uint32_t cells, uint32_t rateKbps);

// The meter or the bars in words, for screen readers: `pattern` (the
// language module's "received %1 %, sent %2 %") filled with each level as
// its lit cells show it, in tens from 0 to 100.
std::wstring ActivityWords(const std::wstring& pattern, int32_t receivedLevel, int32_t sentLevel);
