// The packed-image checks: depths, header versions, colour tables, bounds,
// row order and the file header.
#include "dib/DibImage.h"
#include "settings/XVuk.h"

#include "../support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

using bmptest::BmpLayout;
using bmptest::Rgb;

namespace {

// The message FromPacked raises for these bytes, "" when it loads. The bytes
// are copied into a buffer of exactly that size, so any read past the end is
// caught by the address sanitizer.
std::string PackedMessage(const std::vector<uint8_t>& bytes, size_t length)
{
    std::unique_ptr<uint8_t[]> exact(new uint8_t[length ? length : 1]);
    std::copy(bytes.begin(), bytes.begin() + std::ptrdiff_t(length), exact.get());
    try {
        DibImage::FromPacked(exact.get(), length);
        return "";
    } catch (const XVuk& e) {
        return e.GetMessageText();
    }
}
std::string PackedMessage(const std::vector<uint8_t>& bytes)
{
    return PackedMessage(bytes, bytes.size());
}

BmpLayout Palette8(int32_t width, int32_t height, uint32_t tableSize = 4)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = 8;
    layout.colorsUsed = tableSize;
    for (uint32_t i = 0; i < tableSize; ++i)
        layout.table.push_back(Rgb{uint8_t(i * 10), uint8_t(i * 20), uint8_t(i * 30)});
    const int32_t rows = height < 0 ? -height : height;
    for (int32_t i = 0; i < width * rows; ++i)
        layout.indexes.push_back(uint32_t(i) % tableSize);
    return layout;
}

const char kDepth[] = "Bitmap depth is unsupported";
const char kFormat[] = "Bitmap is in wrong format";

} // namespace

TEST(DibImage, AcceptsOneFourEightAndTwentyFourBits)
{
    for (uint16_t bpp : {1, 4, 8, 24}) {
        BmpLayout layout;
        layout.width = 5;
        layout.height = 3;
        layout.bpp = bpp;
        if (bpp <= 8)
            layout.table = {Rgb{1, 2, 3}, Rgb{200, 100, 50}};
        layout.colorsUsed = uint32_t(layout.table.size());
        layout.indexes = {1, 0, 1, 1, 0};
        layout.colors = {Rgb{9, 8, 7}};
        const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
        const DibImage image = DibImage::FromPacked(bytes.data(), bytes.size());
        EXPECT_EQ(5, image.Width()) << bpp;
        EXPECT_EQ(3, image.Height()) << bpp;
        EXPECT_EQ(bpp, image.BitsPerPixel());
        if (bpp <= 8) {
            // Top row (the last stored row): 1, 0, 1, 1, 0.
            EXPECT_EQ((RgbColor{200, 100, 50}), image.PixelColor(0, 2)) << bpp;
            EXPECT_EQ((RgbColor{1, 2, 3}), image.PixelColor(1, 2)) << bpp;
            EXPECT_EQ((RgbColor{200, 100, 50}), image.PixelColor(3, 2)) << bpp;
            EXPECT_EQ((RgbColor{1, 2, 3}), image.PixelColor(4, 2)) << bpp;
        } else {
            EXPECT_EQ((RgbColor{9, 8, 7}), image.PixelColor(0, 2));
            EXPECT_EQ((RgbColor{0, 0, 0}), image.PixelColor(1, 2));
        }
    }
}

TEST(DibImage, RefusesOtherDepthsBeforeLookingAtCompression)
{
    for (uint16_t bpp : {0, 2, 16, 32, 64, 30000}) {
        BmpLayout layout;
        layout.width = 4;
        layout.height = 2;
        layout.bpp = bpp;
        EXPECT_EQ(kDepth, PackedMessage(bmptest::PackedBitmap(layout))) << bpp;
        layout.compression = 3; // bit fields: still the depth that is reported
        EXPECT_EQ(kDepth, PackedMessage(bmptest::PackedBitmap(layout))) << bpp;
    }
}

TEST(DibImage, RefusesCompressedImagesAsWrongFormat)
{
    for (uint32_t compression : {1u, 2u, 3u, 4u, 5u, 0xFFFFFFFFu}) {
        BmpLayout layout = Palette8(4, 2);
        layout.compression = compression;
        EXPECT_EQ(kFormat, PackedMessage(bmptest::PackedBitmap(layout))) << compression;
    }
}

TEST(DibImage, ReadsEveryInfoHeaderVersionWithTheTableRightAfterIt)
{
    const BmpLayout base = Palette8(3, 2, 3);
    const std::vector<uint8_t> plain = bmptest::PackedBitmap(base);
    const DibImage reference = DibImage::FromPacked(plain.data(), plain.size());
    for (uint32_t headerSize : {52u, 56u, 108u, 124u}) {
        BmpLayout layout = base;
        layout.headerSize = headerSize;
        const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
        const DibImage image = DibImage::FromPacked(bytes.data(), bytes.size());
        // Held with the 40-byte header, identical to the plain version.
        ASSERT_EQ(reference.Size(), image.Size()) << headerSize;
        EXPECT_TRUE(std::equal(reference.Data(), reference.Data() + reference.Size(), image.Data())) << headerSize;
    }
}

TEST(DibImage, RefusesTheCoreHeaderAndUnknownHeaderSizes)
{
    for (uint32_t headerSize : {0u, 12u, 16u, 39u, 41u, 64u, 125u, 0xFFFFFFFFu}) {
        BmpLayout layout = Palette8(2, 2);
        layout.headerSize = headerSize < 200 ? headerSize : 40;
        std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
        bmptest::Put32(bytes, 0, headerSize);
        EXPECT_EQ(kFormat, PackedMessage(bytes)) << headerSize;
    }
}

TEST(DibImage, WorksOutTheColourTableLength)
{
    struct Case {
        uint16_t bpp;
        uint32_t colorsUsed;
        uint32_t expected;
    };
    for (const Case& c : {Case{1, 0, 2}, Case{1, 1, 1}, Case{4, 0, 16}, Case{4, 12, 12}, Case{8, 0, 256},
                          Case{8, 236, 236}, Case{8, 1, 1}, Case{24, 0, 0}, Case{24, 3, 3}}) {
        BmpLayout layout;
        layout.width = 7;
        layout.height = 2;
        layout.bpp = c.bpp;
        layout.colorsUsed = c.colorsUsed;
        layout.table.resize(c.expected, Rgb{1, 1, 1});
        const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
        const DibImage image = DibImage::FromPacked(bytes.data(), bytes.size());
        EXPECT_EQ(c.expected, image.ColorCount()) << c.bpp << "/" << c.colorsUsed;
        EXPECT_EQ(image.Data() + 40 + 4 * c.expected, image.Bits()) << c.bpp << "/" << c.colorsUsed;
        // The held header keeps the colours-used field as it was.
        EXPECT_EQ(c.colorsUsed, uint32_t(image.Data()[32] | image.Data()[33] << 8)) << c.bpp;
    }
}

TEST(DibImage, TitleBarTableOf236EntriesPutsThePixels984BytesIn)
{
    BmpLayout layout = Palette8(331, 20, 236);
    const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    const DibImage image = DibImage::FromPacked(bytes.data(), bytes.size());
    EXPECT_EQ(236u, image.ColorCount());
    EXPECT_EQ(40 + 944, image.Bits() - image.Data());
    EXPECT_EQ(332u, image.RowBytes());
}

TEST(DibImage, RefusesMoreColoursThanTheDepthHolds)
{
    for (auto [bpp, colors] : {std::pair<uint16_t, uint32_t>{1, 3}, {4, 17}, {8, 257}, {8, 0xFFFFFFFF}}) {
        BmpLayout layout;
        layout.width = 2;
        layout.height = 2;
        layout.bpp = bpp;
        layout.colorsUsed = colors;
        layout.table.resize(std::min<uint32_t>(colors, 300));
        EXPECT_EQ(kFormat, PackedMessage(bmptest::PackedBitmap(layout))) << bpp << "/" << colors;
    }
}

TEST(DibImage, RefusesZeroNegativeAndAbsurdSides)
{
    for (auto [w, h] : {std::pair<int32_t, int32_t>{0, 1}, {1, 0}, {-3, 2}, {INT32_MIN, 1}, {1, INT32_MIN},
                        {DibImage::kMaxSide + 1, 1}, {1, DibImage::kMaxSide + 1}, {1, -(DibImage::kMaxSide + 1)},
                        {3000000, 2000000}}) {
        BmpLayout layout = Palette8(1, 1);
        std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
        bmptest::Put32(bytes, 4, uint32_t(w));
        bmptest::Put32(bytes, 8, uint32_t(h));
        EXPECT_EQ(kFormat, PackedMessage(bytes)) << w << "x" << h;
    }
}

TEST(DibImage, RefusesEveryTruncationWithoutReadingPastTheEnd)
{
    for (uint16_t bpp : {1, 4, 8, 24}) {
        BmpLayout layout;
        layout.width = 5;
        layout.height = 3;
        layout.bpp = bpp;
        if (bpp <= 8)
            layout.table = {Rgb{1, 2, 3}, Rgb{4, 5, 6}};
        layout.colorsUsed = uint32_t(layout.table.size());
        layout.colors = {Rgb{1, 2, 3}};
        const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
        ASSERT_EQ("", PackedMessage(bytes)) << bpp;
        for (size_t length = 0; length < bytes.size(); ++length)
            EXPECT_EQ(kFormat, PackedMessage(bytes, length)) << bpp << " cut at " << length;
    }
}

TEST(DibImage, RefusesHeadersThatPromiseMoreThanTheBytes)
{
    BmpLayout layout = Palette8(4, 4);
    std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    std::vector<uint8_t> taller = bytes;
    bmptest::Put32(taller, 8, 5);
    EXPECT_EQ(kFormat, PackedMessage(taller));
    std::vector<uint8_t> wider = bytes;
    bmptest::Put32(wider, 4, 5); // 8 bytes a row instead of 4
    EXPECT_EQ(kFormat, PackedMessage(wider));
    std::vector<uint8_t> moreColors = bytes;
    bmptest::Put32(moreColors, 32, 8);
    EXPECT_EQ(kFormat, PackedMessage(moreColors));
    // A 24-bit image with a huge colours-used field: its table cannot fit.
    BmpLayout rgb;
    rgb.width = 2;
    rgb.height = 2;
    rgb.bpp = 24;
    std::vector<uint8_t> lying = bmptest::PackedBitmap(rgb);
    bmptest::Put32(lying, 32, 0xFFFFFFFF);
    EXPECT_EQ(kFormat, PackedMessage(lying));
    // Extra bytes after the rows are fine.
    bytes.resize(bytes.size() + 10, 0xEE);
    EXPECT_EQ("", PackedMessage(bytes));
}

TEST(DibImage, TurnsTopDownRowsBottomUp)
{
    BmpLayout bottomUp = Palette8(3, 4, 12);
    BmpLayout topDown = bottomUp;
    topDown.height = -4;
    const std::vector<uint8_t> a = bmptest::PackedBitmap(bottomUp);
    const std::vector<uint8_t> b = bmptest::PackedBitmap(topDown);
    ASSERT_NE(a, b);
    const DibImage up = DibImage::FromPacked(a.data(), a.size());
    const DibImage down = DibImage::FromPacked(b.data(), b.size());
    EXPECT_EQ(4, down.Height());
    EXPECT_EQ(4, int32_t(down.Data()[8])); // the held header says bottom-up
    ASSERT_EQ(up.Size(), down.Size());
    EXPECT_TRUE(std::equal(up.Data(), up.Data() + up.Size(), down.Data()));
    // Visual top-left pixel (index 0) is in the last stored row.
    EXPECT_EQ(down.TableColor(0), down.PixelColor(0, 3));
    EXPECT_EQ(down.TableColor(9), down.PixelColor(0, 0));
}

TEST(DibImage, NormalisesTheHeldHeader)
{
    BmpLayout layout = Palette8(3, -2);
    layout.headerSize = 124;
    std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    bmptest::Put16(bytes, 12, 7); // planes
    const DibImage image = DibImage::FromPacked(bytes.data(), bytes.size());
    const uint8_t* h = image.Data();
    EXPECT_EQ(40, h[0]);
    EXPECT_EQ(2, h[8]);
    EXPECT_EQ(0, h[11]);
    EXPECT_EQ(1, h[12]);
    EXPECT_EQ(8, h[14]);
    EXPECT_EQ(8u, uint32_t(h[20])); // image size: 2 rows of 4 bytes
}

TEST(DibImage, IndexesBeyondTheTableReadAsBlack)
{
    BmpLayout layout = Palette8(3, 1, 2);
    layout.indexes = {0, 1, 200};
    const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    const DibImage image = DibImage::FromPacked(bytes.data(), bytes.size());
    EXPECT_EQ((RgbColor{10, 20, 30}), image.PixelColor(1, 0));
    EXPECT_EQ((RgbColor{0, 0, 0}), image.PixelColor(2, 0));
    EXPECT_EQ((RgbColor{0, 0, 0}), image.TableColor(2));
}

TEST(DibImageFile, FindsThePackedImageBehindTheFileHeader)
{
    const std::vector<uint8_t> file = bmptest::FileBitmap(Palette8(2, 2));
    const uint8_t* packed = nullptr;
    size_t length = 0;
    DibImage::LocatePackedInFile(file.data(), file.size(), packed, length);
    EXPECT_EQ(file.data() + 14, packed);
    EXPECT_EQ(file.size() - 14, length);
}

TEST(DibImageFile, ChecksTypeAndFileSizeAgainstTheBytesHeld)
{
    const std::vector<uint8_t> file = bmptest::FileBitmap(Palette8(2, 2));
    auto message = [](std::vector<uint8_t> bytes, size_t available) {
        std::unique_ptr<uint8_t[]> exact(new uint8_t[available ? available : 1]);
        std::copy(bytes.begin(), bytes.begin() + std::ptrdiff_t(available), exact.get());
        const uint8_t* packed = nullptr;
        size_t length = 0;
        try {
            DibImage::LocatePackedInFile(exact.get(), available, packed, length);
            return std::string();
        } catch (const XVuk& e) {
            return e.GetMessageText();
        }
    };
    EXPECT_EQ("Bitmap is wrong format", message(file, 0));
    EXPECT_EQ("Bitmap is wrong format", message(file, 1));
    std::vector<uint8_t> notBm = file;
    notBm[1] = 'A';
    EXPECT_EQ("Bitmap is wrong format", message(notBm, notBm.size()));
    for (size_t cut = 2; cut < file.size(); ++cut)
        EXPECT_EQ(kFormat, message(file, cut)) << cut;
    std::vector<uint8_t> tooSmall = file;
    bmptest::Put32(tooSmall, 2, 13);
    EXPECT_EQ(kFormat, message(tooSmall, tooSmall.size()));
    std::vector<uint8_t> shorterField = file;
    bmptest::Put32(shorterField, 2, uint32_t(file.size() - 1));
    EXPECT_EQ("", message(shorterField, shorterField.size()));
    EXPECT_EQ("", message(file, file.size()));
}
