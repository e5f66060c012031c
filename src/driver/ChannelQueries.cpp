// The typed requests the pages and the notification-area icon make.
#include "driver/Channel.h"

#include "driver/CommandCodes.h"

bool isLineUp()
{
    uint32_t value = 0;
    return !requestDword(Command::kLineState, value) && value == 2;
}

std::string getAnnexLetter()
{
    uint32_t value = 0;
    if (requestDword(Command::kAnnex, value))
        return std::string();
    switch (value) {
    case 0: return "A";
    case 3: return "B";
    case 1: return "C";
    default: return std::string();
    }
}

bool isDualBitmap()
{
    uint32_t value = 0;
    return !requestDword(Command::kDualBitmap, value) && value == 1;
}

uint32_t getUpstreamCellCount()
{
    uint32_t value = 0;
    return requestDword(Command::kUpstreamCells, value) ? 0 : value;
}

uint32_t getDownstreamCellCount()
{
    uint32_t value = 0;
    return requestDword(Command::kDownstreamCells, value) ? 0 : value;
}
