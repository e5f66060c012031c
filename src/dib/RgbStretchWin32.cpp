#include "dib/RgbStretch.h"

#include "framework/Handles.h"
#include "settings/XVuk.h"

#include <cstring>

namespace {

// A top-down 32-bit picture header: rows of BGRx, no padding.
BITMAPINFO TopDownHeader(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace

RgbPixels StretchRgb(const RgbPixels& source, int width, int height)
{
    std::vector<uint32_t> from(source.pixels.size());
    for (size_t i = 0; i < from.size(); ++i) {
        const RgbColor& c = source.pixels[i];
        from[i] = uint32_t(c.blue) | uint32_t(c.green) << 8 | uint32_t(c.red) << 16;
    }
    const BITMAPINFO fromInfo = TopDownHeader(source.width, source.height);
    const BITMAPINFO toInfo = TopDownHeader(width, height);
    void* bits = nullptr;
    MemoryDC dc(nullptr);
    UniqueBitmap target(CreateDIBSection(dc.get(), &toInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !target || !bits)
        throw XVuk("Out of memory");
    {
        SelectObjectScope select(dc.get(), target.get());
        // HALFTONE averages the source pixels each target pixel covers; it
        // needs the brush origin set after the mode.
        SetStretchBltMode(dc.get(), HALFTONE);
        SetBrushOrgEx(dc.get(), 0, 0, nullptr);
        StretchDIBits(dc.get(), 0, 0, width, height, 0, 0, source.width, source.height, from.data(), &fromInfo,
                      DIB_RGB_COLORS, SRCCOPY);
        GdiFlush();
    }
    RgbPixels result(width, height);
    const uint32_t* to = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < result.pixels.size(); ++i)
        result.pixels[i] = RgbColor{uint8_t(to[i] >> 16), uint8_t(to[i] >> 8), uint8_t(to[i])};
    return result;
}
