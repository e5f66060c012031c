// The clock of the line's durations: milliseconds since the PC started,
// without the time it slept (a night's sleep must not lengthen how long the
// line was up, nor use up the grace after a wake), wrapping at 2^32 like
// the tick count. Windows only.
#pragma once

#include <cstdint>

uint32_t SleeplessTickCount();
