// Integer hue/lightness/saturation arithmetic used to colourise a colour
// table: every colour keeps its own lightness and takes one hue and one
// saturation. Scale 0..252 for H, L and S (HLSMAX), 0..255 for red, green, blue.
#pragma once

#include "dib/DibImage.h"

#include <cstdint>

inline constexpr int kHlsMax = 252;

// L = ((max + min) * 252 + 255) / 510 of the three components.
int Lightness(uint8_t red, uint8_t green, uint8_t blue);

// One component from the two magic values and a hue (brought into range).
int HueToRgb(int m1, int m2, int hue);

// Saturations above 252 are taken as 252, where the arithmetic stays inside
// 0..255 (a larger one would overflow the byte and wrap white to black).
RgbColor HlsToRgb(int hue, int lightness, int saturation);

// Colourises `count` table entries (blue, green, red, reserved) in place.
void ColorizeTable(uint8_t* table, uint32_t count, int hue, int saturation);
