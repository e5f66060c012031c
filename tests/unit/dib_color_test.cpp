// The integer HLS arithmetic that colourises colour tables.
#include "dib/HlsColor.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(HlsColor, WorkedValues)
{
    EXPECT_EQ((RgbColor{255, 255, 255}), HlsToRgb(0, 252, 0));
    EXPECT_EQ((RgbColor{255, 255, 255}), HlsToRgb(140, 252, 0));
    EXPECT_EQ((RgbColor{127, 127, 127}), HlsToRgb(0, 126, 0));
    EXPECT_EQ((RgbColor{255, 0, 0}), HlsToRgb(0, 126, 252));
    // A third of the circle on: green; two thirds: blue.
    EXPECT_EQ((RgbColor{0, 255, 0}), HlsToRgb(84, 126, 252));
    EXPECT_EQ((RgbColor{0, 0, 255}), HlsToRgb(168, 126, 252));
}

TEST(HlsColor, LightnessOfTheExtremesAndGreys)
{
    EXPECT_EQ(0, Lightness(0, 0, 0));
    EXPECT_EQ(252, Lightness(255, 255, 255));
    EXPECT_EQ(126, Lightness(255, 0, 0));
    EXPECT_EQ(126, Lightness(0, 255, 255));
    EXPECT_EQ(1, Lightness(1, 1, 1)); // (2 * 252 + 255) / 510
    EXPECT_EQ(126, Lightness(128, 128, 128)); // 126.99, truncated
}

TEST(HlsColor, HueToRgbFollowsTheFourSegments)
{
    // m1 = 0, m2 = 252: rising, flat top, falling, flat bottom.
    EXPECT_EQ(0, HueToRgb(0, 252, 0));
    EXPECT_EQ(126, HueToRgb(0, 252, 21));
    EXPECT_EQ(252, HueToRgb(0, 252, 42));
    EXPECT_EQ(252, HueToRgb(0, 252, 125));
    EXPECT_EQ(252, HueToRgb(0, 252, 126));
    EXPECT_EQ(126, HueToRgb(0, 252, 147));
    EXPECT_EQ(0, HueToRgb(0, 252, 168));
    EXPECT_EQ(0, HueToRgb(0, 252, 251));
    // Out-of-range hues are brought back by one turn.
    EXPECT_EQ(96, HueToRgb(0, 252, -100)); // as 152
    EXPECT_EQ(120, HueToRgb(0, 252, 272)); // as 20
}

TEST(HlsColor, EveryColourKeepsItsLightness)
{
    for (int hue = 0; hue <= 255; hue += 3) {
        for (int sat = 0; sat <= 255; sat += 5) {
            for (int light = 0; light <= 252; ++light) {
                const RgbColor c = HlsToRgb(hue, light, sat);
                EXPECT_LE(std::abs(Lightness(c.red, c.green, c.blue) - light), 1)
                    << "H " << hue << " L " << light << " S " << sat;
            }
        }
    }
}

TEST(HlsColor, SaturationAboveTheScaleDoesNotWrap)
{
    // With S 255 the unclamped arithmetic would give 257 for the top
    // component, stored as the byte 1: white-ish would turn black.
    EXPECT_EQ(HlsToRgb(10, 126, 252), HlsToRgb(10, 126, 255));
    EXPECT_EQ(HlsToRgb(200, 200, 252), HlsToRgb(200, 200, 253));
    EXPECT_EQ((RgbColor{255, 0, 0}), HlsToRgb(0, 126, 255));
}

TEST(HlsColor, ColorizeTableKeepsLightnessAndTheReservedByte)
{
    uint8_t table[] = {
        255, 255, 255, 7, // white
        0, 0, 255, 9,     // pure red: lightness 126
        10, 20, 30, 0,
    };
    ColorizeTable(table, 3, 0, 0);
    EXPECT_EQ(255, table[0]);
    EXPECT_EQ(7, table[3]);
    // Saturation 0: greys of each entry's own lightness, scaled by 255/252.
    EXPECT_EQ(127, table[4]);
    EXPECT_EQ(127, table[5]);
    EXPECT_EQ(127, table[6]);
    EXPECT_EQ(9, table[7]);
    const int light = Lightness(30, 20, 10);
    EXPECT_EQ(light * 255 / 252, table[8]);
    EXPECT_EQ(table[8], table[10]);

    uint8_t grey[] = {128, 128, 128, 0};
    ColorizeTable(grey, 1, 168, 252); // fully saturated blue of the same lightness
    EXPECT_EQ(0, grey[2]);
    EXPECT_EQ(0, grey[1]);
    EXPECT_EQ(255, grey[0]);
}
