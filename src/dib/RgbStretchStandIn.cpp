// The stretch where there is no GDI (the host build): each target pixel is
// the average of the source area it covers, as the filtered stretch makes it.
#include "dib/RgbStretch.h"

#include <algorithm>

RgbPixels StretchRgb(const RgbPixels& source, int width, int height)
{
    RgbPixels result(width, height);
    for (int y = 0; y < height; ++y) {
        const int top = y * source.height / height;
        const int bottom = std::max(top + 1, (y + 1) * source.height / height);
        for (int x = 0; x < width; ++x) {
            const int left = x * source.width / width;
            const int right = std::max(left + 1, (x + 1) * source.width / width);
            unsigned sum[3] = {0, 0, 0}, count = 0;
            for (int sy = top; sy < bottom; ++sy)
                for (int sx = left; sx < right; ++sx, ++count) {
                    const RgbColor& c = source.At(sx, sy);
                    sum[0] += c.red;
                    sum[1] += c.green;
                    sum[2] += c.blue;
                }
            result.At(x, y) = RgbColor{uint8_t((sum[0] + count / 2) / count), uint8_t((sum[1] + count / 2) / count),
                                       uint8_t((sum[2] + count / 2) / count)};
        }
    }
    return result;
}
