#include "tray/TrayLineReading.h"

#include "driver/Channel.h"
#include "driver/CommandCodes.h"

namespace {

uint32_t ReadDwordOrZero(uint32_t command)
{
    uint32_t value = 0;
    return requestDword(command, value) ? 0 : value;
}

} // namespace

TrayLineReading ReadTrayLine()
{
    TrayLineReading reading;
    if (requestDword(Command::kLineState, reading.lineState, reading.noDevice))
        reading.lineState = kLineStateUnreadable;
    if (reading.lineState == kLineStateUp) {
        reading.downstreamCells = ReadDwordOrZero(Command::kDownstreamCells);
        reading.upstreamCells = ReadDwordOrZero(Command::kUpstreamCells);
        reading.downstreamRate = ReadDwordOrZero(Command::kDownstreamRate);
        reading.upstreamRate = ReadDwordOrZero(Command::kUpstreamRate);
    }
    return reading;
}

LineCondition TrayLineCondition(const TrayLineReading& reading)
{
    if (reading.noDevice)
        return LineCondition::NoModem;
    return reading.lineState == kLineStateUp ? LineCondition::Up : LineCondition::Down;
}
