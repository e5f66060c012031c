// CDib: loaders and their messages, what a failed load leaves behind,
// colourising, and owned versus borrowed palettes.
#include "dib/Dib.h"
#include "dib/HlsColor.h"
#include "dib/Palette.h"
#include "settings/XVuk.h"

#include "../support/BmpBuilder.h"
#include "../support/ErrorText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using bmptest::BmpLayout;
using bmptest::Rgb;

namespace {

BmpLayout Indexed(uint16_t bpp, int32_t width, int32_t height, std::vector<Rgb> table)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = bpp;
    layout.table = std::move(table);
    layout.colorsUsed = uint32_t(layout.table.size());
    for (int32_t i = 0; i < width * height; ++i)
        layout.indexes.push_back(uint32_t(i) % uint32_t(layout.table.size()));
    return layout;
}

BmpLayout TrueColor(int32_t width, int32_t height, Rgb color)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = 24;
    layout.colors.assign(size_t(width) * size_t(height), color);
    return layout;
}

BmpLayout SixteenBit()
{
    BmpLayout layout;
    layout.width = 2;
    layout.height = 2;
    layout.bpp = 16;
    return layout;
}

class TempFile {
public:
    explicit TempFile(const std::vector<uint8_t>& bytes)
    {
        char name[] = "/tmp/dib_cdib_testXXXXXX";
        const int fd = mkstemp(name);
        m_path = name;
        if (fd >= 0) {
            if (!bytes.empty() && write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
                m_path.clear();
            close(fd);
        }
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

void LoadPacked(CDib& dib, const BmpLayout& layout)
{
    const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    dib.LoadPacked(bytes.data(), uint32_t(bytes.size()));
}

const std::vector<Rgb> kTwo = {Rgb{10, 20, 30}, Rgb{200, 150, 100}};

} // namespace

TEST(CDib, LoadsPackedImagesWithTheirOwnPalette)
{
    CDib dib(false);
    LoadPacked(dib, Indexed(8, 5, 3, kTwo));
    EXPECT_TRUE(dib.m_bLoaded);
    EXPECT_EQ(5, dib.m_nWidth);
    EXPECT_EQ(3, dib.m_nHeight);
    EXPECT_EQ(8, dib.GetBitsPerPixel());
    EXPECT_EQ(dib.GetData() + 40 + 8, dib.GetBits());
    ASSERT_NE(nullptr, dib.m_pPalette);
    EXPECT_FALSE(dib.m_bBorrowedPalette);
    const std::vector<PaletteEntry> want = {PaletteEntry{10, 20, 30, 0}, PaletteEntry{200, 150, 100, 0}};
    EXPECT_EQ(want, dib.m_pPalette->GetEntries());
}

TEST(CDib, FullTablesAndTheTitleBarTable)
{
    CDib dib(false);
    BmpLayout full = Indexed(8, 4, 4, kTwo);
    full.colorsUsed = 0;
    full.table.resize(256);
    LoadPacked(dib, full);
    ASSERT_NE(nullptr, dib.m_pPalette);
    EXPECT_EQ(256u, dib.m_pPalette->GetEntries().size());

    BmpLayout title = Indexed(8, 331, 20, std::vector<Rgb>(236, Rgb{1, 2, 3}));
    LoadPacked(dib, title);
    EXPECT_EQ(236u, dib.m_pPalette->GetEntries().size());
    EXPECT_EQ(40 + 944, dib.GetBits() - dib.GetData());

    BmpLayout four = Indexed(4, 3, 3, kTwo);
    four.colorsUsed = 0;
    four.table.resize(16);
    LoadPacked(dib, four);
    EXPECT_EQ(16u, dib.m_pPalette->GetEntries().size());
}

TEST(CDib, TrueColourImagesGetNoPaletteAndKeepTheirPixelsWhenColourised)
{
    CDib dib(false);
    dib.m_bRecolor = true;
    dib.m_nHue = 40;
    dib.m_nSat = 200;
    LoadPacked(dib, TrueColor(3, 2, Rgb{12, 34, 56}));
    EXPECT_TRUE(dib.m_bLoaded);
    EXPECT_EQ(nullptr, dib.m_pPalette);
    EXPECT_EQ((RgbColor{12, 34, 56}), dib.GetImage()->PixelColor(2, 1));
}

TEST(CDib, RefusedImagesRaiseTheirMessages)
{
    CDib dib(false);
    EXPECT_EQ("Bitmap depth is unsupported", ErrorText([&] { LoadPacked(dib, SixteenBit()); }));
    BmpLayout two = Indexed(8, 2, 2, kTwo);
    two.bpp = 2;
    EXPECT_EQ("Bitmap depth is unsupported", ErrorText([&] { LoadPacked(dib, two); }));
    BmpLayout rle = Indexed(8, 2, 2, kTwo);
    rle.compression = 1;
    EXPECT_EQ("Bitmap is in wrong format", ErrorText([&] { LoadPacked(dib, rle); }));
    EXPECT_EQ("Bitmap is in wrong format", ErrorText([&] { dib.LoadPacked(nullptr, 0); }));
    const uint8_t one = 40;
    EXPECT_EQ("Bitmap is in wrong format", ErrorText([&] { dib.LoadPacked(&one, 1); }));
}

TEST(CDib, RefusedImageLeavesTheObjectEmptyWithoutOwnedPalette)
{
    const int palettesBefore = CountLivePlatformPalettes();
    CDib dib(false);
    LoadPacked(dib, Indexed(8, 2, 2, kTwo));
    ASSERT_TRUE(dib.m_bLoaded);
    EXPECT_EQ(palettesBefore + 1, CountLivePlatformPalettes());
    EXPECT_NE("", ErrorText([&] { LoadPacked(dib, SixteenBit()); }));
    EXPECT_FALSE(dib.m_bLoaded);
    EXPECT_EQ(nullptr, dib.GetImage());
    EXPECT_EQ(nullptr, dib.m_pPalette);
    EXPECT_EQ(0, dib.m_nWidth);
    EXPECT_EQ(palettesBefore, CountLivePlatformPalettes());
}

TEST(CDib, ReloadReplacesTheImage)
{
    CDib dib(false);
    LoadPacked(dib, Indexed(8, 2, 2, kTwo));
    LoadPacked(dib, TrueColor(7, 5, Rgb{1, 2, 3}));
    EXPECT_EQ(7, dib.m_nWidth);
    EXPECT_EQ(5, dib.m_nHeight);
    EXPECT_EQ(24, dib.GetBitsPerPixel());
    EXPECT_EQ(nullptr, dib.m_pPalette); // the first image's palette went with it
}

TEST(CDib, FileLoadKeepsTheOldImageUntilTheNewOneIsLookedAt)
{
    const TempFile good(bmptest::FileBitmap(Indexed(8, 3, 3, kTwo)));
    std::vector<uint8_t> notBmBytes = bmptest::FileBitmap(Indexed(8, 3, 3, kTwo));
    notBmBytes[0] = 'X';
    const TempFile notBm(notBmBytes);
    const TempFile sixteen(bmptest::FileBitmap(SixteenBit()));

    CDib dib(false);
    dib.LoadFromFile(good.Path());
    ASSERT_TRUE(dib.m_bLoaded);

    const std::string missing = "/nonexistent-folder/LogoClas.bmp";
    EXPECT_EQ("Can't open bitmap " + missing, ErrorText([&] { dib.LoadFromFile(missing); }));
    EXPECT_TRUE(dib.m_bLoaded);
    EXPECT_EQ(3, dib.m_nWidth);

    EXPECT_EQ("Can't get info about bitmap /tmp", ErrorText([&] { dib.LoadFromFile("/tmp"); }));
    EXPECT_TRUE(dib.m_bLoaded);

    EXPECT_EQ("Bitmap is wrong format", ErrorText([&] { dib.LoadFromFile(notBm.Path()); }));
    EXPECT_TRUE(dib.m_bLoaded);
    EXPECT_NE(nullptr, dib.m_pPalette);

    EXPECT_EQ("Bitmap depth is unsupported", ErrorText([&] { dib.LoadFromFile(sixteen.Path()); }));
    EXPECT_FALSE(dib.m_bLoaded);
    EXPECT_EQ(nullptr, dib.m_pPalette);
}

TEST(CDib, EmptyAndShortFilesAreRefused)
{
    const TempFile empty(std::vector<uint8_t>{});
    const TempFile one(std::vector<uint8_t>{'B'});
    std::vector<uint8_t> bytes = bmptest::FileBitmap(Indexed(8, 3, 3, kTwo));
    bytes.resize(bytes.size() - 1); // the file-size field now claims a byte too many
    const TempFile truncated(bytes);
    CDib dib(false);
    EXPECT_EQ("Bitmap is wrong format", ErrorText([&] { dib.LoadFromFile(empty.Path()); }));
    EXPECT_EQ("Bitmap is wrong format", ErrorText([&] { dib.LoadFromFile(one.Path()); }));
    EXPECT_EQ("Bitmap is in wrong format", ErrorText([&] { dib.LoadFromFile(truncated.Path()); }));
    EXPECT_FALSE(dib.m_bLoaded);
}

TEST(CDib, FileImagesInMemory)
{
    const std::vector<uint8_t> file = bmptest::FileBitmap(Indexed(8, 4, 2, kTwo));
    CDib dib(true);
    dib.LoadFromFileImage(file.data());
    EXPECT_EQ(4, dib.m_nWidth);
    CDib checked(true);
    checked.LoadFromFileImage(file.data(), file.size());
    EXPECT_EQ(2, checked.m_nHeight);
    EXPECT_EQ("Bitmap is in wrong format", ErrorText([&] { checked.LoadFromFileImage(file.data(), file.size() - 1); }));
    EXPECT_FALSE(checked.m_bLoaded);
    const uint8_t junk[] = {'P', 'K', 3, 4};
    EXPECT_EQ("Bitmap is wrong format", ErrorText([&] { dib.LoadFromFileImage(junk); }));
    EXPECT_TRUE(dib.m_bLoaded);
}

TEST(CDib, ColourisesTheTableWhenAsked)
{
    const std::vector<Rgb> table = {Rgb{255, 255, 255}, Rgb{255, 0, 0}, Rgb{30, 60, 90}};
    CDib grey(false);
    grey.m_bRecolor = true;
    grey.m_nHue = 77;
    grey.m_nSat = 0;
    LoadPacked(grey, Indexed(8, 3, 1, table));
    const std::vector<PaletteEntry>& g = grey.m_pPalette->GetEntries();
    EXPECT_EQ((PaletteEntry{255, 255, 255, 0}), g[0]);
    EXPECT_EQ((PaletteEntry{127, 127, 127, 0}), g[1]);
    const uint8_t expected = uint8_t(Lightness(30, 60, 90) * 255 / 252);
    EXPECT_EQ((PaletteEntry{expected, expected, expected, 0}), g[2]);
    EXPECT_EQ((RgbColor{127, 127, 127}), grey.GetImage()->TableColor(1)); // the copy's table too

    CDib red(false);
    red.m_bRecolor = true;
    red.m_nHue = 0;
    red.m_nSat = 252;
    LoadPacked(red, Indexed(8, 3, 1, std::vector<Rgb>{Rgb{0, 255, 0}}));
    EXPECT_EQ((PaletteEntry{255, 0, 0, 0}), red.m_pPalette->GetEntries()[0]);

    CDib plain(false);
    LoadPacked(plain, Indexed(8, 3, 1, table));
    EXPECT_EQ((PaletteEntry{30, 60, 90, 0}), plain.m_pPalette->GetEntries()[2]);
}

TEST(CDib, BorrowedPaletteOutlivesFreeAndIsNeverDeleted)
{
    const int before = CountLivePlatformPalettes();
    CPalette shared(std::vector<PaletteEntry>{PaletteEntry{1, 2, 3, 0}});
    {
        CDib dib(false);
        LoadPacked(dib, Indexed(8, 2, 2, kTwo));
        EXPECT_EQ(before + 2, CountLivePlatformPalettes());
        dib.SetPalette(&shared); // the owned palette is deleted now
        EXPECT_EQ(before + 1, CountLivePlatformPalettes());
        EXPECT_TRUE(dib.m_bBorrowedPalette);
        EXPECT_EQ(&shared, dib.m_pPalette);

        dib.Free();
        EXPECT_FALSE(dib.m_bLoaded);
        EXPECT_EQ(&shared, dib.m_pPalette);
        EXPECT_TRUE(dib.m_bBorrowedPalette);

        // A 24-bit load makes no palette: the borrowed one stays.
        LoadPacked(dib, TrueColor(2, 2, Rgb{}));
        EXPECT_EQ(&shared, dib.m_pPalette);

        // An 8-bit load owns a fresh palette again; the borrowed one is left alone.
        LoadPacked(dib, Indexed(8, 2, 2, kTwo));
        EXPECT_FALSE(dib.m_bBorrowedPalette);
        EXPECT_NE(&shared, dib.m_pPalette);
        EXPECT_EQ(before + 2, CountLivePlatformPalettes());

        dib.SetPalette(&shared);
    }
    EXPECT_EQ(before + 1, CountLivePlatformPalettes()); // destruction left the shared one alive
    EXPECT_EQ(1u, shared.GetEntries().size());
}
