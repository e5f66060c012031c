// Plain 24-bit pixels, and the one platform step of scaling a picture: a
// filtered stretch (GDI's HALFTONE mode on Windows), never a pick of the
// nearest pixel, so that no pixel of the result comes out wider than another.
#pragma once

#include "dib/DibImage.h"

#include <vector>

struct RgbPixels {
    int width = 0;
    int height = 0;
    std::vector<RgbColor> pixels; // top row first, width per row

    RgbPixels() = default;
    RgbPixels(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h)) {}
    RgbColor& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const RgbColor& At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// `source` filtered to width x height (both at least 1). Raises XVuk "Out of
// memory" when the platform cannot make the picture.
RgbPixels StretchRgb(const RgbPixels& source, int width, int height);
