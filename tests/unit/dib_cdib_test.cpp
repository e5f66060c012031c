// The colourising arithmetic and CDib: loaders and their messages, what a
// failed load leaves behind, colourising, owned and borrowed palettes.
#include "dib/Dib.h"
#include "dib/HlsColor.h"
#include "dib/Palette.h"

#include "../support/BmpBuilder.h"
#include "../support/ErrorText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
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
