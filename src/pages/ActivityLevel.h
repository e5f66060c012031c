// How busy one direction of the line was during a tick: the cells its
// counter moved, as a percentage of the line rate.
#pragma once

#include <cstdint>

// Cells counted since the previous reading; a counter that wrapped once
// still counts right (unsigned 32-bit difference).
inline uint32_t CellDelta(uint32_t now, uint32_t previous)
{
    return now - previous;
}

// The lowest level that lights one cell of the meter; any traffic shows.
inline constexpr int32_t kLowestBusyLevel = 11;

// trunc(cells x 53 bytes x 8 bits x 100 / (rate kbit/s x 1000)), the
// quotient taken in single precision; 0 for a rate of 0; at least 11 when
// any cell moved. Absurd quotients are capped far above 100 (ten cells lit).
int32_t ActivityLevel(uint32_t cells, uint32_t rateKbps);
