// CDib under Windows: Draw into memory device contexts checked on whole
// pictures (opaque, with the key colour left out, parts of images, row
// order), bitmap resources, and no GDI object left behind by many draws.
#include "dib/Dib.h"
#include "dib/OctalPalette.h"
#include "dib/Palette.h"

#include "../support/BmpBuilder.h"
#include "../support/ErrorText.h"
#include "../support/GdiObjects.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using bmptest::Rgb;

namespace {

using Picture = std::function<Rgb(int, int)>;

// An image of width x height drawn from `color`: 24 bits, or 8 bits with a
// table entry for every pixel.
void Load(CDib& dib, int width, int height, const Picture& color, bool trueColor)
{
    bmptest::BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = trueColor ? 24 : 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            layout.colors.push_back(color(x, y));
            layout.indexes.push_back(uint32_t(layout.indexes.size() % 256));
            if (!trueColor && layout.table.size() < 256)
                layout.table.push_back(color(x, y));
        }
    layout.colorsUsed = uint32_t(layout.table.size());
    const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    dib.LoadPacked(bytes.data(), uint32_t(bytes.size()));
}

// A 12 x 10 logo: key green with a red frame around a blue centre; the
// pixel right of the key is red and one is almost the key.
Rgb Logo(int x, int y)
{
    if (x == 1 && y == 0)
        return Rgb{255, 0, 0};
    if (x == 5 && y == 1)
        return Rgb{0, 254, 0};
    if (x >= 3 && x <= 8 && y >= 3 && y <= 6)
        return (x == 3 || x == 8 || y == 3 || y == 6) ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
    return Rgb{0, 255, 0};
}
// Columns of 10 pixels like a button strip, each framed in its own key.
Rgb Strip(int x, int y)
{
    const bool border = x % 10 == 0 || (y == 0 && x % 10 != 1);
    if (x < 10)
        return border ? Rgb{0, 255, 0} : Rgb{200, 200, 200};
    return border ? Rgb{0, 0, 255} : (x == 15 ? Rgb{0, 255, 0} : Rgb{90, 90, 90});
}
// 25 rows, each its own colour: a part's rows count from the top.
Rgb Rows(int, int y)
{
    return Rgb{uint8_t(y * 10), uint8_t(250 - y * 10), 33};
}
COLORREF Target(int x, int y)
{
    return RGB(x * 12, y * 15, 77);
}

int CountWrong(const TestCanvas& canvas, const std::function<COLORREF(int, int)>& expected)
{
    int wrong = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.At(x, y) != expected(x, y) && ++wrong <= 3)
                ADD_FAILURE() << x << "," << y << ": " << TestCanvas::Text(canvas.At(x, y)) << " expected "
                              << TestCanvas::Text(expected(x, y));
    return wrong;
}

// Draws `times` times; succeeds when the live GDI object count is unchanged.
testing::AssertionResult LeavesNoGdiObjects(const std::function<void()>& draw, int times)
{
    WarmUpGdi();
    draw(); // a first draw may make GDI's own lasting objects
    const int before = CountLiveGdiObjects();
    for (int i = 0; i < times; ++i)
        draw();
    const int after = CountLiveGdiObjects();
    if (before <= 0 || after != before)
        return testing::AssertionFailure() << "live GDI objects went from " << before << " to " << after;
    return testing::AssertionSuccess();
}

} // namespace

// Draw(dc, x, y, sx, sy, w, h) copies the part (the whole image when w, h are
// 0); a transparent image shows the target where the part's top-left colour was.
TEST(DibDraw, EveryPixelOfThePartLandsAndTheKeyShowsTheTarget)
{
    const struct {
        const char* what;
        Picture image;
        int width, height;
        bool trueColor, transparent, sharedPalette;
        int canvasWidth, canvasHeight, x, y, sx, sy, w, h;
    } cases[] = {
        {"opaque, 8 bits", Logo, 12, 10, false, false, false, 20, 16, 4, 3, 0, 0, 0, 0},
        {"opaque part, 24 bits", Logo, 12, 10, true, false, false, 12, 10, 2, 1, 3, 3, 6, 4},
        {"transparent, 8 bits", Logo, 12, 10, false, true, false, 20, 16, 6, 2, 0, 0, 0, 0},
        {"transparent, 24 bits", Logo, 12, 10, true, true, false, 20, 16, 6, 2, 0, 0, 0, 0},
        {"transparent with a shared palette", Logo, 12, 10, false, true, true, 12, 10, 0, 0, 0, 0, 0, 0},
        {"strip part keyed by its own top-left", Strip, 20, 8, false, true, false, 10, 8, 0, 0, 10, 0, 10, 8},
        {"rows from the top, opaque", Rows, 4, 25, false, false, false, 4, 5, 0, 0, 0, 10, 4, 5},
        {"rows from the top, transparent", Rows, 4, 25, false, true, false, 4, 5, 0, 0, 0, 10, 4, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CDib dib(c.transparent);
        Load(dib, c.width, c.height, c.image, c.trueColor);
        std::unique_ptr<CPalette> palette;
        if (c.sharedPalette) {
            palette = CreateOctalPalette({&dib});
            dib.SetPalette(palette.get());
        }
        TestCanvas canvas(c.canvasWidth, c.canvasHeight);
        for (int y = 0; y < c.canvasHeight; ++y)
            for (int x = 0; x < c.canvasWidth; ++x)
                canvas.Set(x, y, Target(x, y));
        dib.Draw(canvas.Dc(), c.x, c.y, c.sx, c.sy, c.w, c.h);
        const Rgb key = c.image(c.sx, c.sy);
        EXPECT_EQ(0, CountWrong(canvas, [&](int x, int y) {
                      const int w = c.w ? c.w : c.width, h = c.h ? c.h : c.height;
                      if (x < c.x || y < c.y || x >= c.x + w || y >= c.y + h)
                          return Target(x, y);
                      const Rgb s = c.image(x - c.x + c.sx, y - c.y + c.sy);
                      return c.transparent && s.r == key.r && s.g == key.g && s.b == key.b ? Target(x, y)
                                                                                           : RGB(s.r, s.g, s.b);
                  }));
    }
    // Nothing is drawn without an image.
    CDib empty(true), freed(false);
    Load(freed, 12, 10, Logo, false);
    freed.Free();
    TestCanvas canvas(8, 8);
    canvas.Fill(RGB(1, 2, 3));
    empty.Draw(canvas.Dc(), 0, 0);
    freed.Draw(canvas.Dc(), 0, 0, 0, 0, 5, 5);
    EXPECT_EQ(0, CountWrong(canvas, [](int, int) { return RGB(1, 2, 3); }));
}

// On an 8-bit context (a palette display's) the key, none of the system's
// colours, still shows the target and a colour near it does not.
TEST(DibDraw, TheKeyOfAPaletteImageShowsTheTargetOnAnEightBitContext)
{
    const Picture odd = [](int x, int y) { // the logo in colours the default palette lacks
        const Rgb c = Logo(x, y);
        return c.g == 255 ? Rgb{40, 160, 90} : c.g == 254 ? Rgb{40, 200, 90} : Rgb{uint8_t(c.r / 2 + 30), 20, uint8_t(c.b / 3)};
    };
    CDib dib(true);
    Load(dib, 12, 10, odd, false);
    std::unique_ptr<CPalette> palette = CreateOctalPalette({&dib});
    dib.SetPalette(palette.get());
    std::vector<PALETTEENTRY> entries(256);
    entries.resize(GetPaletteEntries(palette->GetHandle(), 0, 256, entries.data()));
    std::vector<RGBQUAD> table;
    for (const PALETTEENTRY& e : entries)
        table.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
    table.push_back(RGBQUAD{200, 100, 50, 0}); // the target's own colour
    while (table.size() < 256) // a full table, as a display's
        table.push_back(RGBQUAD{BYTE(table.size()), BYTE(table.size()), 255, 0});
    TestCanvas canvas(12, 10, table);
    canvas.Fill(RGB(50, 100, 200));
    dib.Draw(canvas.Dc(), 0, 0);
    EXPECT_EQ(0, CountWrong(canvas, [&](int x, int y) {
                  const Rgb s = odd(x, y);
                  return s.g == 160 ? RGB(50, 100, 200) : RGB(s.r, s.g, s.b);
              }));
}

TEST(DibDraw, ManyTransparentDrawsLeaveNoGdiObjectBehind)
{
    CDib dib(true);
    Load(dib, 12, 10, Logo, false);
    std::unique_ptr<CPalette> palette = CreateOctalPalette({&dib});
    dib.SetPalette(palette.get());
    TestCanvas canvas(20, 16);
    EXPECT_TRUE(LeavesNoGdiObjects([&] { dib.Draw(canvas.Dc(), 3, 2); }, 10000));
    EXPECT_TRUE(LeavesNoGdiObjects([&] { dib.Draw(canvas.Dc(), 3, 2, 2, 2, 5, 5); }, 100));
    // The count sees a draw that forgets its memory context and bitmap.
    EXPECT_FALSE(LeavesNoGdiObjects([&] {
        HDC memory = CreateCompatibleDC(canvas.Dc());
        SelectObject(memory, CreateCompatibleBitmap(canvas.Dc(), 12, 10));
    }, 10));
}

TEST(DibResource, LoadsABitmapResourceAndKeepsOrEmptiesTheImageOnRefusal)
{
    const int palettes = CountLivePlatformPalettes();
    CDib dib(false);
    dib.LoadFromResource(101);
    EXPECT_EQ(palettes + 1, CountLivePlatformPalettes());
    const bmptest::RgbPicture reference = bmptest::ReadReference24(TestDataDir() + "/bmpsuite/ref/pal8.bmp");
    ASSERT_EQ(127, reference.width);
    TestCanvas canvas(127, 64);
    dib.Draw(canvas.Dc(), 0, 0);
    EXPECT_EQ(0, CountWrong(canvas, [&](int x, int y) {
                  return RGB(reference.At(x, y).r, reference.At(x, y).g, reference.At(x, y).b);
              }));

    EXPECT_EQ("Can't find bmp resource #4242", ErrorText([&] { dib.LoadFromResource(4242); }));
    EXPECT_TRUE(dib.m_bLoaded);
    EXPECT_EQ("Bitmap depth is unsupported", ErrorText([&] { dib.LoadFromResource(102); }));
    EXPECT_FALSE(dib.m_bLoaded);
    EXPECT_EQ(palettes, CountLivePlatformPalettes());
}
