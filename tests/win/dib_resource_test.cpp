// CDib::LoadFromResource: bitmap resources of the program file, their
// messages, and what a failed load leaves behind.
#include "dib/Dib.h"
#include "dib/Palette.h"
#include "settings/XVuk.h"

#include "../support/BmpBuilder.h"
#include "../support/TestCanvas.h"
#include "../support/ErrorText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

} // namespace

TEST(DibResource, LoadsABitmapResourceWithoutFileHeader)
{
    CDib dib(false);
    dib.LoadFromResource(101);
    EXPECT_TRUE(dib.m_bLoaded);
    EXPECT_EQ(127, dib.m_nWidth);
    EXPECT_EQ(64, dib.m_nHeight);
    ASSERT_NE(nullptr, dib.m_pPalette);
    EXPECT_NE(nullptr, dib.m_pPalette->GetHandle());
    EXPECT_EQ(252u, dib.m_pPalette->GetEntries().size());

    // Drawn, it gives the reference rendering of the same file.
    const bmptest::RgbPicture reference = bmptest::ReadReference24(TestDataDir() + "/bmpsuite/ref/pal8.bmp");
    ASSERT_EQ(127, reference.width);
    TestCanvas canvas(127, 64);
    dib.Draw(canvas.Dc(), 0, 0);
    int wrong = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 127; ++x)
            wrong += canvas.At(x, y) != RGB(reference.At(x, y).r, reference.At(x, y).g, reference.At(x, y).b);
    EXPECT_EQ(0, wrong);
}

TEST(DibResource, MissingResourceLeavesTheImageAsItWas)
{
    CDib dib(false);
    dib.LoadFromResource(103);
    ASSERT_TRUE(dib.m_bLoaded);
    EXPECT_EQ("Can't find bmp resource #4242", ErrorText([&] { dib.LoadFromResource(4242); }));
    EXPECT_TRUE(dib.m_bLoaded);
    EXPECT_EQ(24, dib.GetBitsPerPixel());
}

TEST(DibResource, RefusedResourceLeavesTheObjectEmpty)
{
    CDib dib(false);
    dib.LoadFromResource(101);
    EXPECT_EQ("Bitmap depth is unsupported", ErrorText([&] { dib.LoadFromResource(102); }));
    EXPECT_FALSE(dib.m_bLoaded);
    EXPECT_EQ(nullptr, dib.m_pPalette);
}

TEST(DibResource, PalettesAreRealGdiPalettesReleasedWithTheImage)
{
    const int before = CountLivePlatformPalettes();
    {
        CDib dib(false);
        dib.LoadFromResource(101);
        ASSERT_NE(nullptr, dib.m_pPalette);
        PALETTEENTRY entry = {};
        EXPECT_EQ(1u, GetPaletteEntries(dib.m_pPalette->GetHandle(), 3, 1, &entry));
        const std::vector<PaletteEntry>& entries = dib.m_pPalette->GetEntries();
        EXPECT_EQ(entries[3].red, entry.peRed);
        EXPECT_EQ(entries[3].green, entry.peGreen);
        EXPECT_EQ(entries[3].blue, entry.peBlue);
        EXPECT_EQ(before + 1, CountLivePlatformPalettes());
    }
    EXPECT_EQ(before, CountLivePlatformPalettes());
}

TEST(DibFile, MissingFileNamesThePathAndKeepsTheImage)
{
    CDib dib(false);
    dib.LoadFromResource(101);
    const std::string path = "C:\\no such folder\\LogoClas.bmp";
    EXPECT_EQ("Can't open bitmap " + path, ErrorText([&] { dib.LoadFromFile(path); }));
    EXPECT_TRUE(dib.m_bLoaded);
    dib.LoadFromFile(TestDataDir() + "/bmpsuite/g/rgb24.bmp");
    EXPECT_EQ(24, dib.GetBitsPerPixel());
}
