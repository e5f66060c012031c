// A checked copy of an uncompressed Windows device-independent bitmap in
// packed form: a 40-byte info header, the colour table, then the pixel rows
// bottom row first, each padded to a multiple of 4 bytes.
//
// Whatever the source looked like (info header of 40, 52, 56, 108 or 124
// bytes, rows top-down or bottom-up), the copy always has that one form, so
// drawing and the palette builder never meet anything else. Every offset is
// checked against the bytes supplied before anything is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    bool operator==(const RgbColor& other) const
    {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const RgbColor& other) const { return !(*this == other); }
};

class DibImage {
public:
    static constexpr uint32_t kInfoHeaderSize = 40;
    static constexpr size_t kFileHeaderSize = 14;
    // Larger sides are refused as absurd: no picture of this program comes near.
    static constexpr int32_t kMaxSide = 16384;

    // Checks and copies a packed image of `length` bytes. Raises XVuk:
    // "Bitmap depth is unsupported" for a depth other than 1, 4, 8 or 24,
    // "Bitmap is in wrong format" for anything else it cannot take.
    static DibImage FromPacked(const void* packed, size_t length);

    // The packed image inside a whole .bmp file image of `available` bytes:
    // checks the "BM" type ("Bitmap is wrong format") and that the file-size
    // field lies within the bytes available ("Bitmap is in wrong format").
    // Sets `packed` and `length` to the bytes after the 14-byte file header.
    static void LocatePackedInFile(const void* image, size_t available, const uint8_t*& packed, size_t& length);
    // Only the "BM" test of LocatePackedInFile.
    static bool HasFileType(const void* image, size_t available);

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    uint16_t BitsPerPixel() const { return m_bitsPerPixel; }
    // Entries of the colour table (colours-used, or the depth's full table).
    uint32_t ColorCount() const { return m_colorCount; }
    uint32_t RowBytes() const { return m_rowBytes; }

    const uint8_t* Data() const { return m_data.data(); }
    uint8_t* Data() { return m_data.data(); }
    size_t Size() const { return m_data.size(); }
    // Colour table: ColorCount() entries of blue, green, red, reserved.
    const uint8_t* ColorTable() const { return m_data.data() + kInfoHeaderSize; }
    uint8_t* ColorTable() { return m_data.data() + kInfoHeaderSize; }
    // Row r (0 = the bottom row) starts at Bits() + r * RowBytes().
    const uint8_t* Bits() const { return ColorTable() + 4 * size_t(m_colorCount); }
    uint8_t* Bits() { return ColorTable() + 4 * size_t(m_colorCount); }

    // Colour-table entry `index`; black when the index lies beyond the table.
    RgbColor TableColor(uint32_t index) const;
    // Colour of pixel x of storage row `row` (0 = bottom), through the table
    // for 1, 4 and 8 bits. Both must lie inside the image.
    RgbColor PixelColor(int32_t x, int32_t row) const;

private:
    DibImage() = default;

    std::vector<uint8_t> m_data;
    int32_t m_width = 0;
    int32_t m_height = 0;
    uint16_t m_bitsPerPixel = 0;
    uint32_t m_colorCount = 0;
    uint32_t m_rowBytes = 0;
};
