// Builds small .bmp images in memory for the bitmap tests: any header size,
// depth, compression field, colour count, row order, and lying fields.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bmptest {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

struct BmpLayout {
    int32_t width = 1;
    int32_t height = 1;     // negative: rows stored top-down
    uint16_t bpp = 8;
    uint32_t headerSize = 40;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;  // the header field
    std::vector<Rgb> table;   // entries written after the header
    // Pixels row by row from the top, left to right: table indexes for 1, 4
    // and 8 bits, colours for 24 bits. Missing pixels are 0 / black.
    std::vector<uint32_t> indexes;
    std::vector<Rgb> colors;
    uint8_t padByte = 0;      // value of the row padding bytes
};

inline void Put16(std::vector<uint8_t>& out, size_t at, uint16_t v)
{
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
}
inline void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = uint8_t(v >> (8 * i));
}

inline size_t RowBytes(int32_t width, uint16_t bpp)
{
    return (size_t(width) * bpp + 31) / 32 * 4;
}

// Info header, colour table and pixel rows.
inline std::vector<uint8_t> PackedBitmap(const BmpLayout& layout)
{
    const int32_t rows = layout.height < 0 ? -layout.height : layout.height;
    const size_t rowBytes = RowBytes(layout.width, layout.bpp);
    std::vector<uint8_t> out(layout.headerSize + 4 * layout.table.size() + rowBytes * size_t(rows), 0);
    Put32(out, 0, layout.headerSize);
    if (layout.headerSize >= 16) {
        Put32(out, 4, uint32_t(layout.width));
        Put32(out, 8, uint32_t(layout.height));
        Put16(out, 12, 1);
        Put16(out, 14, layout.bpp);
    }
    if (layout.headerSize >= 40) {
        Put32(out, 16, layout.compression);
        Put32(out, 20, uint32_t(rowBytes * size_t(rows)));
        Put32(out, 24, 2835);
        Put32(out, 28, 2835);
        Put32(out, 32, layout.colorsUsed);
    }
    size_t at = layout.headerSize;
    for (const Rgb& c : layout.table) {
        out[at] = c.b;
        out[at + 1] = c.g;
        out[at + 2] = c.r;
        at += 4;
    }
    for (int32_t y = 0; y < rows; ++y) {
        // Visual row y lands in storage row rows-1-y (bottom-up) or y (top-down).
        const int32_t storage = layout.height < 0 ? y : rows - 1 - y;
        uint8_t* line = out.data() + at + size_t(storage) * rowBytes;
        std::memset(line, layout.padByte, rowBytes);
        std::memset(line, 0, (size_t(layout.width) * layout.bpp + 7) / 8);
        for (int32_t x = 0; x < layout.width; ++x) {
            const size_t i = size_t(y) * size_t(layout.width) + size_t(x);
            if (layout.bpp == 24) {
                const Rgb c = i < layout.colors.size() ? layout.colors[i] : Rgb{};
                line[3 * x] = c.b;
                line[3 * x + 1] = c.g;
                line[3 * x + 2] = c.r;
            } else if (layout.bpp == 8 || layout.bpp == 4 || layout.bpp == 1 || layout.bpp == 2) {
                const uint32_t v = i < layout.indexes.size() ? layout.indexes[i] : 0;
                const size_t bit = size_t(x) * layout.bpp;
                const int shift = 8 - layout.bpp - int(bit % 8);
                line[bit / 8] = uint8_t(line[bit / 8] | ((v & ((1u << layout.bpp) - 1)) << shift));
            }
        }
    }
    return out;
}

// The 14-byte file header in front of the packed image.
inline std::vector<uint8_t> FileBitmap(const BmpLayout& layout)
{
    const std::vector<uint8_t> packed = PackedBitmap(layout);
    std::vector<uint8_t> out(14 + packed.size(), 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, uint32_t(out.size()));
    Put32(out, 10, uint32_t(14 + layout.headerSize + 4 * layout.table.size()));
    std::memcpy(out.data() + 14, packed.data(), packed.size());
    return out;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An independent reader for the reference renderings: 24-bit, bottom-up,
// uncompressed .bmp files. Pixels row by row from the top; empty on failure.
struct RgbPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Rgb> pixels;
    Rgb At(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

inline RgbPicture ReadReference24(const std::string& path)
{
    RgbPicture picture;
    const std::vector<uint8_t> bytes = ReadBytes(path);
    auto u32 = [&](size_t at) {
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
               uint32_t(bytes[at + 3]) << 24;
    };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || bytes[28] != 24)
        return picture;
    const uint32_t offset = u32(10);
    const int32_t width = int32_t(u32(18));
    const int32_t height = int32_t(u32(22));
    const size_t rowBytes = RowBytes(width, 24);
    if (width <= 0 || height <= 0 || offset + rowBytes * size_t(height) > bytes.size())
        return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(size_t(width) * size_t(height));
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* line = bytes.data() + offset + size_t(height - 1 - y) * rowBytes;
        for (int32_t x = 0; x < width; ++x)
            picture.pixels[size_t(y) * size_t(width) + size_t(x)] = Rgb{line[3 * x + 2], line[3 * x + 1], line[3 * x]};
    }
    return picture;
}

} // namespace bmptest
