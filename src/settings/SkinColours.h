// What the skinned window's pictures and texts are coloured with: the
// settings of its colours group, as one value that a preview can hand over.
#pragma once

#include "settings/EditableSettings.h"

#include <cstdint>

struct SkinColours {
    uint8_t hue = 0, sat = 0;                 // the background, and the buttons with useHueAndSat
    uint8_t titlebarHue = 0, titlebarSat = 0; // the title bar
    bool useHueAndSat = false;
    bool transparentLogo = false;             // TransparentBitmap
    uint32_t titlebarText = 0, labelText = 0, statusText = 0; // 0x00bbggrr

    bool operator==(const SkinColours& other) const;
    bool operator!=(const SkinColours& other) const { return !(*this == other); }
};

// The colours the values hold; a number that does not read is 0.
SkinColours SkinColoursOf(const SettingsValues& values);
