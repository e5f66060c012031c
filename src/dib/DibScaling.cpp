#include "dib/DibScaling.h"

#include "dib/RgbStretch.h"
#include "framework/Dpi.h"
#include "settings/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

uint32_t RowBytes(int width, int bitsPerPixel)
{
    return (uint32_t(width) * uint32_t(bitsPerPixel) + 31) / 32 * 4;
}

// A packed image of the size with its 40-byte header and room for the
// colour table and the rows, all zero.
std::vector<uint8_t> EmptyPacked(int width, int height, uint16_t bitsPerPixel, uint32_t colorCount)
{
    const uint32_t pixelBytes = RowBytes(width, bitsPerPixel) * uint32_t(height);
    std::vector<uint8_t> packed(DibImage::kInfoHeaderSize + 4 * size_t(colorCount) + pixelBytes, 0);
    uint8_t* header = packed.data();
    WriteLe32(header + 0, DibImage::kInfoHeaderSize);
    WriteLe32(header + 4, uint32_t(width));
    WriteLe32(header + 8, uint32_t(height));
    WriteLe16(header + 12, 1);
    WriteLe16(header + 14, bitsPerPixel);
    WriteLe32(header + 20, pixelBytes);
    WriteLe32(header + 24, 2835); // 72 pixels an inch, as paint programs write
    WriteLe32(header + 28, 2835);
    WriteLe32(header + 32, bitsPerPixel <= 8 ? colorCount : 0);
    return packed;
}

// The colour-table index of pixel x of storage row `row` of a picture of 8 bits or fewer.
unsigned IndexAt(const DibImage& image, int x, int row)
{
    const uint8_t* line = image.Bits() + size_t(row) * image.RowBytes();
    switch (image.BitsPerPixel()) {
    case 8:
        return line[x];
    case 4:
        return (line[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
    default:
        return (line[x / 8] >> (7 - x % 8)) & 1;
    }
}

// Every pixel repeated `factor` times each way. 8 bits or fewer become 8
// bits with the same colour table; 24 bits stay 24.
std::vector<uint8_t> RepeatPixels(const DibImage& image, int factor)
{
    const int width = image.Width() * factor, height = image.Height() * factor;
    const bool indexed = image.BitsPerPixel() <= 8;
    std::vector<uint8_t> packed =
        EmptyPacked(width, height, indexed ? 8 : 24, indexed ? image.ColorCount() : 0);
    std::memcpy(packed.data() + DibImage::kInfoHeaderSize, image.ColorTable(), 4 * size_t(image.ColorCount()));
    uint8_t* bits = packed.data() + DibImage::kInfoHeaderSize + 4 * size_t(indexed ? image.ColorCount() : 0);
    const uint32_t rowBytes = RowBytes(width, indexed ? 8 : 24);
    for (int row = 0; row < height; ++row) {
        uint8_t* line = bits + size_t(row) * rowBytes;
        const int sourceRow = row / factor;
        for (int x = 0; x < width; ++x) {
            if (indexed) {
                line[x] = uint8_t(IndexAt(image, x / factor, sourceRow));
            } else {
                const uint8_t* from = image.Bits() + size_t(sourceRow) * image.RowBytes() + 3 * size_t(x / factor);
                std::memcpy(line + 3 * size_t(x), from, 3);
            }
        }
    }
    return packed;
}

RgbPixels ToRgb(const DibImage& image)
{
    RgbPixels pixels(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            pixels.At(x, y) = image.PixelColor(x, image.Height() - 1 - y); // storage is bottom-up
    return pixels;
}

std::vector<uint8_t> PackRgb(const RgbPixels& pixels)
{
    std::vector<uint8_t> packed = EmptyPacked(pixels.width, pixels.height, 24, 0);
    uint8_t* bits = packed.data() + DibImage::kInfoHeaderSize;
    const uint32_t rowBytes = RowBytes(pixels.width, 24);
    for (int y = 0; y < pixels.height; ++y) {
        uint8_t* line = bits + size_t(pixels.height - 1 - y) * rowBytes;
        for (int x = 0; x < pixels.width; ++x) {
            const RgbColor& c = pixels.At(x, y);
            line[3 * x] = c.blue;
            line[3 * x + 1] = c.green;
            line[3 * x + 2] = c.red;
        }
    }
    return packed;
}

// Gives the key pixels next to the picture (up to `reach` pixels away) the
// average colour of their picture neighbours, so that filtering blends edge
// pixels with the picture's own colours rather than with the key's.
void BleedIntoKey(RgbPixels& pixels, std::vector<uint8_t> known, int reach)
{
    for (int pass = 0; pass < reach; ++pass) {
        RgbPixels next = pixels;
        std::vector<uint8_t> nextKnown = known;
        for (int y = 0; y < pixels.height; ++y)
            for (int x = 0; x < pixels.width; ++x) {
                if (known[size_t(y) * size_t(pixels.width) + size_t(x)])
                    continue;
                unsigned sum[3] = {0, 0, 0}, count = 0;
                for (int ny = std::max(0, y - 1); ny <= std::min(pixels.height - 1, y + 1); ++ny)
                    for (int nx = std::max(0, x - 1); nx <= std::min(pixels.width - 1, x + 1); ++nx)
                        if (known[size_t(ny) * size_t(pixels.width) + size_t(nx)]) {
                            const RgbColor& c = pixels.At(nx, ny);
                            sum[0] += c.red;
                            sum[1] += c.green;
                            sum[2] += c.blue;
                            ++count;
                        }
                if (count == 0)
                    continue;
                next.At(x, y) = RgbColor{uint8_t(sum[0] / count), uint8_t(sum[1] / count), uint8_t(sum[2] / count)};
                nextKnown[size_t(y) * size_t(pixels.width) + size_t(x)] = 1;
            }
        pixels = std::move(next);
        known = std::move(nextKnown);
    }
}

// A filtered copy whose pixels are each either exactly the key (where the
// key covered at least half of it) or a colour of the picture.
RgbPixels StretchKeepingKey(RgbPixels pixels, RgbColor key, int width, int height)
{
    RgbPixels keyShare(pixels.width, pixels.height);
    std::vector<uint8_t> known(pixels.pixels.size());
    for (size_t i = 0; i < pixels.pixels.size(); ++i) {
        const bool isKey = pixels.pixels[i] == key;
        known[i] = !isKey;
        keyShare.pixels[i] = isKey ? RgbColor{255, 255, 255} : RgbColor{};
    }
    // Two source pixels each way reach every target pixel a reduction to
    // half the size or more filters.
    BleedIntoKey(pixels, std::move(known), 2);
    RgbPixels result = StretchRgb(pixels, width, height);
    const RgbPixels share = StretchRgb(keyShare, width, height);
    for (size_t i = 0; i < result.pixels.size(); ++i) {
        RgbColor& c = result.pixels[i];
        if (share.pixels[i].red >= 128)
            c = key;
        else if (c == key)
            c.green ^= 1; // never the key by accident
    }
    return result;
}

void LoadUncoloured(CDib& target, const std::vector<uint8_t>& packed)
{
    const bool recolor = target.m_bRecolor;
    target.m_bRecolor = false;
    try {
        target.LoadPacked(packed.data(), uint32_t(packed.size()));
    } catch (...) {
        target.m_bRecolor = recolor;
        throw;
    }
    target.m_bRecolor = recolor;
}

} // namespace

void LoadScaledCopy(CDib& target, const CDib& source, int width, int height)
{
    const DibImage* image = source.GetImage();
    if (!image)
        return;
    width = std::max(1, width);
    height = std::max(1, height);
    const int factor = width / image->Width();
    if (factor >= 1 && width == factor * image->Width() && height == factor * image->Height()) {
        LoadUncoloured(target, RepeatPixels(*image, factor));
        return;
    }
    RgbPixels pixels = ToRgb(*image);
    const RgbColor key = pixels.At(0, 0);
    LoadUncoloured(target, PackRgb(target.m_bTransparent ? StretchKeepingKey(std::move(pixels), key, width, height)
                                                         : StretchRgb(pixels, width, height)));
}

void LoadFileForDpi(CDib& target, const std::string& path, unsigned dpi)
{
    if (dpi == Dpi::kStandard) {
        target.LoadFromFile(path);
        return;
    }
    CDib source(target.m_bTransparent);
    source.m_bRecolor = target.m_bRecolor;
    source.m_nHue = target.m_nHue;
    source.m_nSat = target.m_nSat;
    source.LoadFromFile(path);
    LoadScaledCopy(target, source, Dpi::Scale(source.m_nWidth, dpi), Dpi::Scale(source.m_nHeight, dpi));
}
