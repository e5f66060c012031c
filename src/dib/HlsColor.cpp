#include "dib/HlsColor.h"

#include <algorithm>

namespace {

uint8_t ToByte(int value)
{
    return uint8_t(std::clamp(value, 0, 255));
}

} // namespace

int Lightness(uint8_t red, uint8_t green, uint8_t blue)
{
    const int high = std::max({red, green, blue});
    const int low = std::min({red, green, blue});
    return ((high + low) * kHlsMax + 255) / 510;
}

int HueToRgb(int m1, int m2, int hue)
{
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    if (hue < kHlsMax / 6)
        return m1 + ((m2 - m1) * hue + kHlsMax / 12) / (kHlsMax / 6);
    if (hue < kHlsMax / 2)
        return m2;
    if (hue < kHlsMax * 2 / 3)
        return m1 + ((m2 - m1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6);
    return m1;
}

RgbColor HlsToRgb(int hue, int lightness, int saturation)
{
    saturation = std::clamp(saturation, 0, kHlsMax);
    lightness = std::clamp(lightness, 0, kHlsMax);
    if (saturation == 0) {
        const uint8_t grey = ToByte(lightness * 255 / kHlsMax);
        return RgbColor{grey, grey, grey};
    }
    int m2;
    if (lightness <= kHlsMax / 2)
        m2 = (lightness * (kHlsMax + saturation) + kHlsMax / 2) / kHlsMax;
    else
        m2 = lightness + saturation - (lightness * saturation + kHlsMax / 2) / kHlsMax;
    const int m1 = 2 * lightness - m2;
    auto component = [&](int h) { return ToByte((HueToRgb(m1, m2, h) * 255 + kHlsMax / 2) / kHlsMax); };
    return RgbColor{component(hue + kHlsMax / 3), component(hue), component(hue - kHlsMax / 3)};
}

void ColorizeTable(uint8_t* table, uint32_t count, int hue, int saturation)
{
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t* entry = table + 4 * size_t(i);
        const RgbColor color = HlsToRgb(hue, Lightness(entry[2], entry[1], entry[0]), saturation);
        entry[0] = color.blue;
        entry[1] = color.green;
        entry[2] = color.red;
    }
}
