// What one status read of the notification-area icon asks the driver, in
// its fixed order: the line state, and with the line up the two cell
// counters and the two rates.
#pragma once

#include "status/LineWatch.h"

#include <cstdint>

inline constexpr uint32_t kLineStateTraining = 1;
inline constexpr uint32_t kLineStateUp = 2;
inline constexpr uint32_t kLineStateUnreadable = 11; // also what a failed read gives

struct TrayLineReading {
    uint32_t lineState = 0;
    bool noDevice = false; // the line state's read failed because no control device opened
    // Read only with the line up; a failed read gives 0.
    uint32_t downstreamCells = 0; // command 0x0381
    uint32_t upstreamCells = 0; // command 0x0301
    uint32_t downstreamRate = 0;
    uint32_t upstreamRate = 0;
};

// Line state (0x0004); when it is 2, then 0x0381, 0x0301, 0x0103, 0x0107.
TrayLineReading ReadTrayLine();

// What the reading says of the line for its alerts: up, down, or no modem.
LineCondition TrayLineCondition(const TrayLineReading& reading);
