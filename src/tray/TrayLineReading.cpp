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
    if (requestDword(Command::kLineState, reading.lineState))
        reading.lineState = kLineStateUnreadable;
    if (reading.lineState == kLineStateUp) {
        reading.cellCountA = ReadDwordOrZero(Command::kCellCount381);
        reading.cellCountB = ReadDwordOrZero(Command::kCellCount301);
        reading.rate103 = ReadDwordOrZero(Command::kRate103);
        reading.rate107 = ReadDwordOrZero(Command::kRate107);
    }
    return reading;
}
