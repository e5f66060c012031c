// The loader's refusals, on images built in memory (what it accepts is the
// BMP Suite test's). Every image is copied into a buffer of exactly its
// size, so a read past the end is caught by the address sanitizer.
#include "dib/DibImage.h"

#include "../support/BmpBuilder.h"
#include "../support/ErrorText.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using bmptest::BmpLayout;
using bmptest::Put32;
using bmptest::Rgb;
using Bytes = std::vector<uint8_t>;

namespace {

const char kDepth[] = "Bitmap depth is unsupported";
const char kFormat[] = "Bitmap is in wrong format";
const char kType[] = "Bitmap is wrong format";

// The message FromPacked (or LocatePackedInFile) raises for the first
// `length` bytes, "" when they load.
std::string Message(const Bytes& bytes, size_t length, bool file = false)
{
    std::unique_ptr<uint8_t[]> exact(new uint8_t[length ? length : 1]);
    std::copy(bytes.begin(), bytes.begin() + std::ptrdiff_t(length), exact.get());
    return ErrorText([&] {
        const uint8_t* packed = nullptr;
        size_t size = 0;
        if (file)
            DibImage::LocatePackedInFile(exact.get(), length, packed, size);
        else
            DibImage::FromPacked(exact.get(), length);
    });
}

BmpLayout Image(uint16_t bpp, int32_t width = 5, int32_t height = 3, uint32_t tableSize = 2)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = bpp;
    layout.table.resize(bpp <= 8 ? tableSize : 0, Rgb{1, 2, 3});
    layout.colorsUsed = uint32_t(layout.table.size());
    return layout;
}

Bytes Patched(const BmpLayout& layout, size_t at, uint32_t value)
{
    Bytes bytes = bmptest::PackedBitmap(layout);
    Put32(bytes, at, value);
    return bytes;
}

} // namespace

TEST(DibImage, RefusesWhatItCannotHold)
{
    auto with = [](BmpLayout layout, const std::function<void(BmpLayout&)>& change) {
        change(layout);
        return bmptest::PackedBitmap(layout);
    };
    const struct {
        const char* what;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"2 bits", with(Image(8), [](BmpLayout& l) { l.bpp = 2; }), kDepth},
        {"16 bits", with(Image(24), [](BmpLayout& l) { l.bpp = 16; }), kDepth},
        {"32 bits with bit fields: the depth is told", with(Image(24), [](BmpLayout& l) { l.bpp = 32, l.compression = 3; }), kDepth},
        {"RLE", with(Image(8), [](BmpLayout& l) { l.compression = 1; }), kFormat},
        {"core header", with(Image(8), [](BmpLayout& l) { l.headerSize = 12; }), kFormat},
        {"header of 64", Patched(Image(8), 0, 64), kFormat},
        {"header of 125", Patched(Image(8), 0, 125), kFormat},
        {"3 colours in 1 bit", with(Image(1, 5, 3, 3), [](BmpLayout&) {}), kFormat},
        {"17 colours in 4 bits", with(Image(4, 5, 3, 17), [](BmpLayout&) {}), kFormat},
        {"257 colours in 8 bits", with(Image(8, 5, 3, 257), [](BmpLayout&) {}), kFormat},
        {"colours-used beyond the bytes", Patched(Image(8), 32, 8), kFormat},
        {"huge colours-used on 24 bits", Patched(Image(24), 32, 0xFFFFFFFF), kFormat},
        {"width 0", Patched(Image(8), 4, 0), kFormat},
        {"negative width", Patched(Image(8), 4, uint32_t(-3)), kFormat},
        {"height 0", Patched(Image(8), 8, 0), kFormat},
        {"height INT32_MIN", Patched(Image(8), 8, uint32_t(INT32_MIN)), kFormat},
        {"side beyond the limit", Patched(Image(8), 4, DibImage::kMaxSide + 1), kFormat},
        {"taller than the bytes", Patched(Image(8), 8, 4), kFormat},
        {"wider than the bytes", Patched(Image(8), 4, 9), kFormat},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.message, Message(c.bytes, c.bytes.size())) << c.what;
    // Every cut of a valid image, and of its file form, is refused.
    for (uint16_t bpp : {1, 4, 8, 24}) {
        const Bytes packed = bmptest::PackedBitmap(Image(bpp));
        ASSERT_EQ("", Message(packed, packed.size())) << bpp;
        for (size_t length = 0; length < packed.size(); ++length)
            EXPECT_EQ(kFormat, Message(packed, length)) << bpp << " cut at " << length;
    }
    const Bytes file = bmptest::FileBitmap(Image(8));
    ASSERT_EQ("", Message(file, file.size(), true));
    EXPECT_EQ(kType, Message(file, 1, true));
    for (size_t cut = 2; cut < file.size(); ++cut)
        EXPECT_EQ(kFormat, Message(file, cut, true)) << "file cut at " << cut;
    Bytes notBm = file;
    notBm[1] = 'A';
    EXPECT_EQ(kType, Message(notBm, notBm.size(), true));
    Bytes tooSmall = file;
    Put32(tooSmall, 2, 13);
    EXPECT_EQ(kFormat, Message(tooSmall, tooSmall.size(), true));
}
