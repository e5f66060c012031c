#include "pages/ActivityLevel.h"

namespace {
// Far above the 100 that lights every cell, and safely inside int32_t.
constexpr float kHighestLevel = 1.0e9f;
} // namespace

int32_t ActivityLevel(uint32_t cells, uint32_t rateKbps)
{
    int32_t level = 0;
    if (rateKbps != 0) {
        // Each step is rounded to single precision, as the level is defined.
        float bits = float(cells) * 53.0f * 8.0f * 100.0f;
        float quotient = bits / float(uint64_t(rateKbps) * 1000u);
        // A counter that jumped (a reset modem) must not overflow the conversion.
        level = quotient >= kHighestLevel ? int32_t(kHighestLevel) : int32_t(quotient);
    }
    if (cells != 0 && level <= kLowestBusyLevel)
        level = kLowestBusyLevel;
    return level;
}
