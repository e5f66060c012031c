// One colour of a logical palette, laid out like the platform's PALETTEENTRY.
#pragma once

#include <cstdint>

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;

    bool operator==(const PaletteEntry& other) const
    {
        return red == other.red && green == other.green && blue == other.blue && flags == other.flags;
    }
    bool operator!=(const PaletteEntry& other) const { return !(*this == other); }
};
