// Fuzzes the bitmap loaders and the octree palette. The first three bytes
// choose the loader and the colourising; the rest is the image.
#include "dib/Dib.h"
#include "dib/OctalPalette.h"
#include "settings/XVuk.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint8_t mode = data[0];
    CDib dib(true);
    dib.m_bRecolor = (mode & 1) != 0;
    dib.m_nHue = data[1];
    dib.m_nSat = data[2];
    const uint8_t* image = data + 3;
    const size_t length = size - 3;
    try {
        if (mode & 2)
            dib.LoadPacked(image, uint32_t(length));
        else
            dib.LoadFromFileImage(image, length);
    } catch (const XVuk&) {
        return 0;
    }
    // Every pixel must be readable inside the copy.
    const DibImage* held = dib.GetImage();
    unsigned sum = 0;
    for (int32_t row = 0; row < held->Height(); ++row)
        for (int32_t x = 0; x < held->Width(); ++x)
            sum += held->PixelColor(x, row).red;
    try {
        std::unique_ptr<CPalette> palette = CreateOctalPalette({&dib, &dib});
        if (palette && (palette->GetEntries().empty() || palette->GetEntries().size() > 236))
            __builtin_trap();
    } catch (const XVuk&) {
    }
    return int(sum & 0);
}
