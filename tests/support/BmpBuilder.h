// Builds small .bmp images in memory for the bitmap tests (any header size,
// depth, compression field, colour count and row order), and reads the
// 24-bit reference renderings of BMP Suite.
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
    int32_t height = 1; // negative: rows stored top-down
    uint16_t bpp = 8;
    uint32_t headerSize = 40;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0; // the header field
    std::vector<Rgb> table;  // entries written after the header
    // Pixels row by row from the top: table indexes for 1, 2, 4 and 8 bits,
    // colours for 24 bits. Missing pixels are 0 / black.
    std::vector<uint32_t> indexes;
    std::vector<Rgb> colors;
    uint8_t padByte = 0; // value of the row padding bytes
};

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
    if (layout.headerSize >= 40) {
        const uint32_t fields[] = {uint32_t(layout.width), uint32_t(layout.height), 1u | uint32_t(layout.bpp) << 16,
                                   layout.compression, uint32_t(rowBytes * size_t(rows)), 2835, 2835, layout.colorsUsed};
        for (size_t i = 0; i < 8; ++i)
            Put32(out, 4 + 4 * i, fields[i]);
    }
    size_t at = layout.headerSize;
    for (const Rgb& c : layout.table) {
        out[at] = c.b, out[at + 1] = c.g, out[at + 2] = c.r;
        at += 4;
    }
    for (int32_t y = 0; y < rows; ++y) {
        uint8_t* line = out.data() + at + size_t(layout.height < 0 ? y : rows - 1 - y) * rowBytes;
        std::memset(line, layout.padByte, rowBytes);
        std::memset(line, 0, (size_t(layout.width) * layout.bpp + 7) / 8);
        for (int32_t x = 0; x < layout.width; ++x) {
            const size_t i = size_t(y) * size_t(layout.width) + size_t(x);
            if (layout.bpp == 24) {
                const Rgb c = i < layout.colors.size() ? layout.colors[i] : Rgb{};
                line[3 * x] = c.b, line[3 * x + 1] = c.g, line[3 * x + 2] = c.r;
            } else if (layout.bpp <= 8) {
                const uint32_t v = i < layout.indexes.size() ? layout.indexes[i] : 0;
                const size_t bit = size_t(x) * layout.bpp;
                line[bit / 8] = uint8_t(line[bit / 8] | (v & ((1u << layout.bpp) - 1)) << (8 - layout.bpp - int(bit % 8)));
            }
        }
    }
    return out;
}

// The 14-byte file header in front of the packed image.
inline std::vector<uint8_t> FileBitmap(const BmpLayout& layout)
{
    std::vector<uint8_t> out = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> packed = PackedBitmap(layout);
    out.insert(out.end(), packed.begin(), packed.end());
    Put32(out, 2, uint32_t(out.size()));
    Put32(out, 10, uint32_t(14 + layout.headerSize + 4 * layout.table.size()));
    return out;
}

// A reference rendering: 24 bits, bottom-up, uncompressed. Pixels row by
// row from the top; empty on failure.
struct RgbPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Rgb> pixels;
    Rgb At(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

inline RgbPicture ReadReference24(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto u32 = [&](size_t at) { return uint32_t(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16) | uint32_t(bytes[at + 3]) << 24; };
    RgbPicture picture;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || bytes[28] != 24)
        return picture;
    const int32_t width = int32_t(u32(18)), height = int32_t(u32(22));
    const size_t rowBytes = RowBytes(width, 24);
    if (width <= 0 || height <= 0 || u32(10) + rowBytes * size_t(height) > bytes.size())
        return picture;
    picture.width = width;
    picture.height = height;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* line = bytes.data() + u32(10) + size_t(height - 1 - y) * rowBytes;
        for (int32_t x = 0; x < width; ++x)
            picture.pixels.push_back(Rgb{line[3 * x + 2], line[3 * x + 1], line[3 * x]});
    }
    return picture;
}

} // namespace bmptest
