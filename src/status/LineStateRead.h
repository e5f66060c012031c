// What a status window's reads of the line state and the two rates say of
// the line, in the terms of the line watch: the same rule as the tray
// icon's reads (no control device: no modem; a state of 2: up; anything
// else, an unreadable state too: down).
#pragma once

#include "status/LineWatch.h"
#include "status/StatusField.h"

LineCondition LineConditionOf(const StatusField& lineState);

// The two rates of a read, 0 where unknown or while the line is not up.
LineRates LineRatesOf(const StatusField& lineState, const StatusField& downstreamRate,
                      const StatusField& upstreamRate);
