#include "dib/DibImage.h"

#include "settings/ByteOrder.h"
#include "settings/XVuk.h"

#include <cstring>

namespace {

const char kWrongFormat[] = "Bitmap is in wrong format";

bool IsKnownInfoHeaderSize(uint32_t size)
{
    // BITMAPINFOHEADER and the later versions paint programs write (V2, V3,
    // V4, V5). The 12-byte core header has a different layout.
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

} // namespace

DibImage DibImage::FromPacked(const void* packed, size_t length)
{
    const uint8_t* src = static_cast<const uint8_t*>(packed);
    if (src == nullptr || length < 4)
        throw XVuk(kWrongFormat);
    const uint32_t headerSize = ReadLe32(src);
    if (!IsKnownInfoHeaderSize(headerSize) || headerSize > length)
        throw XVuk(kWrongFormat);

    const int32_t width = int32_t(ReadLe32(src + 4));
    const int32_t height = int32_t(ReadLe32(src + 8));
    const uint16_t bitsPerPixel = ReadLe16(src + 14);
    const uint32_t compression = ReadLe32(src + 16);
    const uint32_t colorsUsed = ReadLe32(src + 32);

    // The depth is tested before the compression, so an RLE image of a
    // supported depth is "wrong format" and a 16-bit one "unsupported".
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24)
        throw XVuk("Bitmap depth is unsupported");
    if (compression != 0)
        throw XVuk(kWrongFormat);

    const int64_t absHeight = height < 0 ? -int64_t(height) : int64_t(height);
    if (width <= 0 || width > kMaxSide || absHeight == 0 || absHeight > kMaxSide)
        throw XVuk(kWrongFormat);

    uint64_t colorCount = colorsUsed;
    if (bitsPerPixel <= 8) {
        const uint32_t fullTable = 1u << bitsPerPixel;
        if (colorsUsed > fullTable)
            throw XVuk(kWrongFormat);
        if (colorsUsed == 0)
            colorCount = fullTable;
    }

    // Everything below is at most a few gigabytes, so 64 bits never overflow.
    const uint64_t rowBytes = (uint64_t(width) * bitsPerPixel + 31) / 32 * 4;
    const uint64_t tableBytes = 4 * colorCount;
    const uint64_t pixelBytes = rowBytes * uint64_t(absHeight);
    if (uint64_t(headerSize) + tableBytes + pixelBytes > length)
        throw XVuk(kWrongFormat);

    DibImage image;
    image.m_width = width;
    image.m_height = int32_t(absHeight);
    image.m_bitsPerPixel = bitsPerPixel;
    image.m_colorCount = uint32_t(colorCount);
    image.m_rowBytes = uint32_t(rowBytes);
    image.m_data.assign(kInfoHeaderSize + size_t(tableBytes) + size_t(pixelBytes), 0);

    uint8_t* header = image.m_data.data();
    WriteLe32(header + 0, kInfoHeaderSize);
    WriteLe32(header + 4, uint32_t(width));
    WriteLe32(header + 8, uint32_t(absHeight));
    WriteLe16(header + 12, 1);
    WriteLe16(header + 14, bitsPerPixel);
    WriteLe32(header + 16, 0);
    WriteLe32(header + 20, uint32_t(pixelBytes));
    std::memcpy(header + 24, src + 24, 8); // resolutions
    WriteLe32(header + 32, colorsUsed);
    WriteLe32(header + 36, 0);

    std::memcpy(image.ColorTable(), src + headerSize, size_t(tableBytes));

    const uint8_t* srcBits = src + headerSize + tableBytes;
    uint8_t* bits = image.Bits();
    if (height > 0) {
        std::memcpy(bits, srcBits, size_t(pixelBytes));
    } else {
        // Top-down rows: store them bottom row first like every other image.
        for (int64_t row = 0; row < absHeight; ++row)
            std::memcpy(bits + size_t(row * rowBytes), srcBits + size_t((absHeight - 1 - row) * rowBytes), size_t(rowBytes));
    }
    return image;
}

bool DibImage::HasFileType(const void* image, size_t available)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(image);
    return bytes != nullptr && available >= 2 && ReadLe16(bytes) == 0x4D42;
}

void DibImage::LocatePackedInFile(const void* image, size_t available, const uint8_t*& packed, size_t& length)
{
    if (!HasFileType(image, available))
        throw XVuk("Bitmap is wrong format");
    const uint8_t* bytes = static_cast<const uint8_t*>(image);
    if (available < kFileHeaderSize)
        throw XVuk(kWrongFormat);
    const uint32_t fileSize = ReadLe32(bytes + 2);
    if (fileSize < kFileHeaderSize || fileSize > available)
        throw XVuk(kWrongFormat);
    packed = bytes + kFileHeaderSize;
    length = fileSize - kFileHeaderSize;
}

RgbColor DibImage::TableColor(uint32_t index) const
{
    if (index >= m_colorCount)
        return RgbColor{};
    const uint8_t* entry = ColorTable() + 4 * size_t(index);
    return RgbColor{entry[2], entry[1], entry[0]};
}

RgbColor DibImage::PixelColor(int32_t x, int32_t row) const
{
    const uint8_t* line = Bits() + size_t(row) * m_rowBytes;
    switch (m_bitsPerPixel) {
    case 24: {
        const uint8_t* p = line + 3 * size_t(x);
        return RgbColor{p[2], p[1], p[0]};
    }
    case 8:
        return TableColor(line[x]);
    case 4:
        return TableColor((line[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F);
    default:
        return TableColor((line[x / 8] >> (7 - x % 8)) & 1);
    }
}
