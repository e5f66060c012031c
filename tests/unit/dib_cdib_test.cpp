// The colourising arithmetic and CDib: loaders and their messages, what a
// failed load leaves behind, colourising, owned and borrowed palettes.
#include "dib/Dib.h"
#include "dib/DibScaling.h"
#include "dib/HlsColor.h"
#include "dib/Palette.h"

#include "../support/BmpBuilder.h"
#include "../support/ErrorText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

using bmptest::BmpLayout;
using bmptest::Rgb;

namespace {

BmpLayout Indexed(std::vector<Rgb> table, uint16_t bpp = 8)
{
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bpp = bpp;
    layout.table = std::move(table);
    layout.colorsUsed = uint32_t(layout.table.size());
    return layout;
}

void LoadPacked(CDib& dib, const BmpLayout& layout)
{
    const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    dib.LoadPacked(bytes.data(), uint32_t(bytes.size()));
}

std::string TempFile(const std::vector<uint8_t>& bytes, const char* name)
{
    const std::string path = std::string("/tmp/dib_cdib_test_") + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

const std::vector<Rgb> kTwo = {Rgb{10, 20, 30}, Rgb{200, 150, 100}};

} // namespace

TEST(HlsColor, WorkedValuesAndLightnessRounding)
{
    const struct {
        int hue, light, sat;
        RgbColor rgb;
    } colours[] = {{0, 252, 0, {255, 255, 255}}, {0, 126, 0, {127, 127, 127}}, {0, 126, 252, {255, 0, 0}},
                   {84, 126, 252, {0, 255, 0}},  {168, 126, 252, {0, 0, 255}}, {0, 126, 255, {255, 0, 0}}};
    for (const auto& c : colours)
        EXPECT_EQ(c.rgb, HlsToRgb(c.hue, c.light, c.sat)) << c.hue << "/" << c.light << "/" << c.sat;
    EXPECT_EQ(1, Lightness(1, 1, 1)); // (2 * 252 + 255) / 510, rounded up
    EXPECT_EQ(126, Lightness(128, 128, 128));
    EXPECT_EQ(96, HueToRgb(0, 252, -100)); // out-of-range hues come back by one turn
    EXPECT_EQ(120, HueToRgb(0, 252, 272));
    for (int hue = 0; hue <= 255; hue += 15)
        for (int sat = 0; sat <= 255; sat += 15)
            for (int light = 0; light <= 252; light += 3) {
                const RgbColor c = HlsToRgb(hue, light, sat);
                ASSERT_LE(std::abs(Lightness(c.red, c.green, c.blue) - light), 1) << hue << "/" << light << "/" << sat;
            }
}

TEST(CDib, LoadsColourisesAndRefuses)
{
    CDib plain(false);
    LoadPacked(plain, Indexed(kTwo));
    ASSERT_NE(nullptr, plain.m_pPalette);
    EXPECT_EQ((std::vector<PaletteEntry>{{10, 20, 30, 0}, {200, 150, 100, 0}}), plain.m_pPalette->GetEntries());

    // Colourised: greys of each entry's own lightness with Sat 0, pure hue with Sat 252.
    CDib grey(false);
    grey.m_bRecolor = true;
    grey.m_nHue = 77;
    LoadPacked(grey, Indexed({Rgb{255, 255, 255}, Rgb{255, 0, 0}}));
    EXPECT_EQ((std::vector<PaletteEntry>{{255, 255, 255, 0}, {127, 127, 127, 0}}), grey.m_pPalette->GetEntries());
    EXPECT_EQ((RgbColor{127, 127, 127}), grey.GetImage()->TableColor(1));
    CDib red(false);
    red.m_bRecolor = true;
    red.m_nSat = 252;
    LoadPacked(red, Indexed({Rgb{0, 255, 0}}));
    EXPECT_EQ((PaletteEntry{255, 0, 0, 0}), red.m_pPalette->GetEntries()[0]);

    // A refusal after the image was looked at leaves the object empty, its palette deleted.
    const int palettes = CountLivePlatformPalettes();
    BmpLayout sixteen = Indexed({});
    sixteen.bpp = 16;
    EXPECT_EQ("Bitmap depth is unsupported", ErrorText([&] { LoadPacked(plain, sixteen); }));
    EXPECT_FALSE(plain.m_bLoaded);
    EXPECT_EQ(nullptr, plain.m_pPalette);
    EXPECT_EQ(palettes - 1, CountLivePlatformPalettes());
    EXPECT_EQ("Bitmap is in wrong format", ErrorText([&] { plain.LoadPacked(nullptr, 0); }));
}

TEST(CDib, FileLoadKeepsTheOldImageUntilTheNewOneIsLookedAt)
{
    std::vector<uint8_t> notBm = bmptest::FileBitmap(Indexed(kTwo));
    notBm[0] = 'X';
    BmpLayout sixteen = Indexed({});
    sixteen.bpp = 16;
    std::vector<uint8_t> cut = bmptest::FileBitmap(Indexed(kTwo));
    cut.pop_back(); // the file-size field now claims a byte too many
    const struct {
        std::string path, message;
        bool stillLoaded;
    } cases[] = {
        {"/nonexistent-folder/LogoClas.bmp", "Can't open bitmap /nonexistent-folder/LogoClas.bmp", true},
        {"/tmp", "Can't get info about bitmap /tmp", true},
        {TempFile({}, "empty"), "Bitmap is wrong format", true},
        {TempFile(notBm, "notbm"), "Bitmap is wrong format", true},
        {TempFile(cut, "cut"), "Bitmap is in wrong format", false},
        {TempFile(bmptest::FileBitmap(sixteen), "sixteen"), "Bitmap depth is unsupported", false},
    };
    const std::string good = TempFile(bmptest::FileBitmap(Indexed(kTwo)), "good");
    for (const auto& c : cases) {
        CDib dib(false);
        dib.LoadFromFile(good);
        EXPECT_EQ(c.message, ErrorText([&] { dib.LoadFromFile(c.path); }));
        EXPECT_EQ(c.stillLoaded, dib.m_bLoaded) << c.path;
        EXPECT_EQ(c.stillLoaded, dib.m_pPalette != nullptr) << c.path;
    }
    for (const char* name : {"empty", "notbm", "cut", "sixteen", "good"})
        std::remove((std::string("/tmp/dib_cdib_test_") + name).c_str());
    const std::vector<uint8_t> file = bmptest::FileBitmap(Indexed(kTwo));
    CDib memory(true);
    EXPECT_EQ("Bitmap is in wrong format", ErrorText([&] { memory.LoadFromFileImage(file.data(), file.size() - 1); }));
    memory.LoadFromFileImage(file.data()); // the length from the image's own field
    EXPECT_EQ(3, memory.m_nWidth);
}

TEST(CDib, BorrowedPaletteOutlivesFreeAndIsNeverDeleted)
{
    const int before = CountLivePlatformPalettes();
    CPalette shared(std::vector<PaletteEntry>{PaletteEntry{1, 2, 3, 0}});
    {
        CDib dib(false);
        LoadPacked(dib, Indexed(kTwo));
        dib.SetPalette(&shared); // the owned palette is deleted now
        EXPECT_EQ(before + 1, CountLivePlatformPalettes());
        dib.Free();
        EXPECT_EQ(&shared, dib.m_pPalette);
        BmpLayout rgb = Indexed({});
        rgb.bpp = 24;
        LoadPacked(dib, rgb); // a 24-bit image makes no palette: the borrowed one stays
        EXPECT_EQ(&shared, dib.m_pPalette);
        LoadPacked(dib, Indexed(kTwo)); // an 8-bit one owns a fresh palette again
        EXPECT_FALSE(dib.m_bBorrowedPalette);
        EXPECT_EQ(before + 2, CountLivePlatformPalettes());
        dib.SetPalette(&shared);
    }
    EXPECT_EQ(before + 1, CountLivePlatformPalettes());
}

// Pictures at other sizes: whole multiples repeat pixels exactly (keeping a
// colour table); other sizes are filtered, and a transparent picture keeps
// its key exact with no key colour blended into its edges.
TEST(DibScaling, RepeatsPixelsForWholeMultiplesAndKeepsTheKeyExactOtherwise)
{
    BmpLayout nibbles = Indexed({Rgb{255, 0, 255}, Rgb{200, 0, 0}, Rgb{0, 0, 200}}, 4);
    nibbles.indexes = {0, 1, 2, 2, 1, 0};
    BmpLayout colours;
    colours.width = 2, colours.height = 1, colours.bpp = 24;
    colours.colors = {Rgb{1, 2, 3}, Rgb{4, 5, 6}};
    for (const auto& [layout, factor, bpp] : {std::tuple{nibbles, 2, 8}, std::tuple{colours, 3, 24}}) {
        CDib source(false), copy(false);
        LoadPacked(source, layout);
        LoadScaledCopy(copy, source, layout.width * factor, layout.height * factor);
        ASSERT_EQ(bpp, copy.GetBitsPerPixel());
        ASSERT_EQ(layout.width * factor, copy.m_nWidth);
        for (int y = 0; y < copy.m_nHeight; ++y)
            for (int x = 0; x < copy.m_nWidth; ++x)
                EXPECT_EQ(source.GetImage()->PixelColor(x / factor, y / factor), copy.GetImage()->PixelColor(x, y))
                    << x << "," << y;
    }

    // 8 x 8: the key (magenta, the top-left) in the left three columns, red in the rest; reduced to 3 x 3,
    // the middle column a third key.
    BmpLayout keyed;
    keyed.width = keyed.height = 8, keyed.bpp = 24;
    for (int i = 0; i < 64; ++i)
        keyed.colors.push_back(i % 8 < 3 ? Rgb{255, 0, 255} : Rgb{255, 0, 0});
    const RgbColor key = {255, 0, 255}, red = {255, 0, 0};
    for (bool transparent : {true, false}) {
        CDib source(transparent), copy(transparent);
        LoadPacked(source, keyed);
        LoadScaledCopy(copy, source, 3, 3);
        ASSERT_EQ(3, copy.m_nWidth);
        int blends = 0;
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(key, copy.GetImage()->PixelColor(0, y));
            EXPECT_EQ(red, copy.GetImage()->PixelColor(2, y));
            for (int x = 0; x < 3; ++x)
                blends += copy.GetImage()->PixelColor(x, y) != key && copy.GetImage()->PixelColor(x, y) != red;
        }
        // Filtered, never picked: the opaque copy blends the edge; the transparent one holds only key and red.
        EXPECT_EQ(transparent, blends == 0) << blends;
    }
}

TEST(DibScaling, AFileAtADpiIsTheFileScaledAndAFileMissingChangesNothing)
{
    BmpLayout layout = Indexed(kTwo);
    layout.indexes = {0, 1, 0, 1, 0, 1};
    const std::string path = TempFile(bmptest::FileBitmap(layout), "dpi.bmp");
    for (const auto& [dpi, width, height] : {std::tuple{96u, 3, 2}, std::tuple{192u, 6, 4}, std::tuple{144u, 5, 3}}) {
        CDib picture(false);
        LoadFileForDpi(picture, path, dpi);
        EXPECT_EQ(width, picture.m_nWidth) << dpi;
        EXPECT_EQ(height, picture.m_nHeight) << dpi;
        EXPECT_EQ(dpi == 96 ? 8 : dpi == 192 ? 8 : 24, picture.GetBitsPerPixel()) << dpi;
    }
    std::remove(path.c_str());
    CDib kept(false);
    LoadPacked(kept, layout);
    EXPECT_EQ("Can't open bitmap " + path, ErrorText([&] { LoadFileForDpi(kept, path, 144); }));
    EXPECT_EQ(3, kept.m_nWidth);
}
