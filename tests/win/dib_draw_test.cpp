// CDib::Draw into memory device contexts, checked pixel by pixel: opaque,
// with the key colour left out, parts of images, row order, and no GDI leak.
#include "dib/Dib.h"
#include "dib/OctalPalette.h"

#include "../support/GdiObjects.h"
#include "../support/BmpBuilder.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using bmptest::BmpLayout;
using bmptest::Rgb;

namespace {

constexpr COLORREF kBackdrop = RGB(10, 20, 200);

using PixelFunction = std::function<Rgb(int, int)>;

// An 8-bit (indexed) or 24-bit image with one colour per (x, y) drawn from `color`.
void Load(CDib& dib, int width, int height, const PixelFunction& color, bool trueColor = false)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = trueColor ? 24 : 8;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = color(x, y);
            layout.colors.push_back(c);
            uint32_t index = 0;
            while (index < layout.table.size() &&
                   (layout.table[index].r != c.r || layout.table[index].g != c.g || layout.table[index].b != c.b))
                ++index;
            if (!trueColor && index == layout.table.size())
                layout.table.push_back(c);
            layout.indexes.push_back(index);
        }
    }
    layout.colorsUsed = uint32_t(layout.table.size());
    const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    dib.LoadPacked(bytes.data(), uint32_t(bytes.size()));
}

COLORREF Ref(const Rgb& c)
{
    return RGB(c.r, c.g, c.b);
}

// A 12 x 10 logo: green key background with a red frame and a blue centre,
// and one pixel that is almost the key.
Rgb Logo(int x, int y)
{
    if (x == 0 && y == 0)
        return Rgb{0, 255, 0};
    if (x == 5 && y == 1)
        return Rgb{0, 254, 0};
    if (x >= 3 && x <= 8 && y >= 3 && y <= 6)
        return (x == 3 || x == 8 || y == 3 || y == 6) ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
    return Rgb{0, 255, 0};
}

// Number of pixels of the canvas that differ from `expected`.
int CountWrong(const TestCanvas& canvas, const std::function<COLORREF(int, int)>& expected)
{
    int wrong = 0;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.At(x, y) != expected(x, y)) {
                if (wrong < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << TestCanvas::Text(canvas.At(x, y))
                                  << " expected " << TestCanvas::Text(expected(x, y));
                ++wrong;
            }
        }
    }
    return wrong;
}

bool Inside(int x, int y, int left, int top, int width, int height)
{
    return x >= left && y >= top && x < left + width && y < top + height;
}

bool Same(const Rgb& a, const Rgb& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// Targets of the draws: a pattern, so that "shows the target" is seen pixel
// by pixel, and the logo's key colour.
COLORREF Pattern(int x, int y)
{
    return RGB(x * 12, y * 15, 77);
}
COLORREF KeyGreen(int, int)
{
    return RGB(0, 255, 0);
}

// Columns of 10 pixels like a button strip, each framed in its own key: green
// in the first, blue in the second (which also holds a green column).
Rgb Strip(int x, int y)
{
    const bool border = x % 10 == 0 || y == 0;
    if (x < 10)
        return border ? Rgb{0, 255, 0} : Rgb{200, 200, 200};
    return border ? Rgb{0, 0, 255} : (x == 15 ? Rgb{0, 255, 0} : Rgb{90, 90, 90});
}

// 25 rows, each its own colour: a part's rows must count from the top.
Rgb Rows(int, int y)
{
    return Rgb{uint8_t(y * 10), uint8_t(250 - y * 10), 33};
}

// Does `draw` `times` times; succeeds when the live GDI object count is the
// same afterwards.
testing::AssertionResult LeavesNoGdiObjects(const std::function<void()>& draw, int times)
{
    WarmUpGdi();
    draw(); // a first draw may make GDI's own lasting objects
    const int before = CountLiveGdiObjects();
    if (before <= 0)
        return testing::AssertionFailure() << "no GDI handle table to count";
    for (int i = 0; i < times; ++i)
        draw();
    const int after = CountLiveGdiObjects();
    if (after != before)
        return testing::AssertionFailure() << "live GDI objects went from " << before << " to " << after;
    return testing::AssertionSuccess();
}

// A transparent draw that forgets to delete its memory context and bitmap:
// the kind of fault the leak check is there for.
void LeakingDraw(const CDib& dib, HDC target)
{
    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, dib.m_nWidth, dib.m_nHeight);
    SelectObject(memory, bitmap);
    dib.Draw(memory, 0, 0);
    BitBlt(target, 0, 0, dib.m_nWidth, dib.m_nHeight, memory, 0, 0, SRCCOPY);
}

} // namespace

// Draw(dc, x, y, sx, sy, w, h) copies the part (the whole image when w, h are 0);
// a transparent image shows the target exactly where the part's top-left colour was.
TEST(DibDraw, EveryPixelOfThePartLandsAndTheKeyShowsTheTarget)
{
    struct Case {
        const char* what;
        PixelFunction image;
        int width, height;
        bool trueColor, transparent, sharedPalette;
        COLORREF (*target)(int, int);
        int canvasWidth, canvasHeight;
        int x, y, sx, sy, w, h;
    } cases[] = {
        {"opaque, 8 bits", Logo, 12, 10, false, false, false, Pattern, 20, 16, 4, 3, 0, 0, 0, 0},
        {"opaque, 24 bits", Logo, 12, 10, true, false, false, Pattern, 12, 10, 0, 0, 0, 0, 0, 0},
        {"opaque part", Logo, 12, 10, true, false, false, Pattern, 12, 10, 2, 1, 3, 3, 6, 4},
        {"transparent, 8 bits", Logo, 12, 10, false, true, false, Pattern, 20, 16, 6, 2, 0, 0, 0, 0},
        {"transparent, 24 bits", Logo, 12, 10, true, true, false, Pattern, 20, 16, 6, 2, 0, 0, 0, 0},
        {"transparent on the key colour", Logo, 12, 10, false, true, false, KeyGreen, 12, 10, 0, 0, 0, 0, 0, 0},
        {"transparent with a shared palette", Logo, 12, 10, false, true, true, Pattern, 12, 10, 0, 0, 0, 0, 0, 0},
        {"strip part keyed by its own top-left", Strip, 20, 8, false, true, false, Pattern, 10, 8, 0, 0, 10, 0, 10, 8},
        {"rows from the top, opaque", Rows, 4, 25, false, false, false, Pattern, 4, 5, 0, 0, 0, 10, 4, 5},
        {"rows from the top, transparent", Rows, 4, 25, false, true, false, Pattern, 4, 5, 0, 0, 0, 10, 4, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDib dib(c.transparent);
        Load(dib, c.width, c.height, c.image, c.trueColor);
        std::unique_ptr<CPalette> palette;
        if (c.sharedPalette) {
            palette = CreateOctalPalette({&dib});
            ASSERT_NE(nullptr, palette);
            dib.SetPalette(palette.get());
        }
        TestCanvas canvas(c.canvasWidth, c.canvasHeight);
        ASSERT_TRUE(canvas.IsReady());
        for (int y = 0; y < c.canvasHeight; ++y)
            for (int x = 0; x < c.canvasWidth; ++x)
                canvas.Set(x, y, c.target(x, y));
        dib.Draw(canvas.Dc(), c.x, c.y, c.sx, c.sy, c.w, c.h);
        const Rgb key = c.image(c.sx, c.sy);
        EXPECT_EQ(0, CountWrong(canvas, [&](int x, int y) {
                      if (!Inside(x, y, c.x, c.y, c.w ? c.w : c.width, c.h ? c.h : c.height))
                          return c.target(x, y);
                      const Rgb source = c.image(x - c.x + c.sx, y - c.y + c.sy);
                      return c.transparent && Same(source, key) ? c.target(x, y) : Ref(source);
                  }));
    }
}

TEST(DibDraw, NothingIsDrawnWithoutAnImage)
{
    CDib empty(true), failed(false), freed(true);
    EXPECT_ANY_THROW(failed.LoadPacked("junk", 4));
    Load(freed, 12, 10, Logo);
    freed.Free();
    TestCanvas canvas(8, 8);
    canvas.Fill(kBackdrop);
    empty.Draw(canvas.Dc(), 0, 0);
    failed.Draw(canvas.Dc(), 0, 0, 0, 0, 5, 5);
    freed.Draw(canvas.Dc(), 0, 0);
    empty.Draw(nullptr, 0, 0);
    EXPECT_EQ(0, CountWrong(canvas, [](int, int) { return kBackdrop; }));
}

TEST(DibDraw, KeyIsMatchedAfterMappingToTheDevice)
{
    // On a 5-6-5 target (0, 254, 0) and the key (0, 255, 0) are one colour,
    // so both are left out; on a 32-bit target only the key is.
    CDib dib(true);
    Load(dib, 12, 10, Logo);
    TestCanvas low(12, 10, 16);
    ASSERT_TRUE(low.IsReady());
    low.Fill(RGB(200, 0, 200));
    const COLORREF back = low.At(0, 0);
    dib.Draw(low.Dc(), 0, 0);
    EXPECT_EQ(back, low.At(5, 1));
    EXPECT_EQ(back, low.At(1, 1));
    EXPECT_NE(back, low.At(4, 4));

    TestCanvas full(12, 10);
    full.Fill(RGB(200, 0, 200));
    dib.Draw(full.Dc(), 0, 0);
    EXPECT_EQ(RGB(0, 254, 0), full.At(5, 1));
    EXPECT_EQ(RGB(200, 0, 200), full.At(1, 1));
}

TEST(DibDraw, TenThousandTransparentDrawsLeaveNoGdiObjectBehind)
{
    CDib dib(true);
    Load(dib, 12, 10, Logo);
    std::unique_ptr<CPalette> palette = CreateOctalPalette({&dib});
    dib.SetPalette(palette.get());
    TestCanvas canvas(20, 16);
    canvas.Fill(kBackdrop);
    EXPECT_TRUE(LeavesNoGdiObjects([&] { dib.Draw(canvas.Dc(), 3, 2); }, 10000));
    EXPECT_TRUE(LeavesNoGdiObjects([&] { dib.Draw(canvas.Dc(), 3, 2, 2, 2, 5, 5); }, 100));
    // The check catches a leak of two objects a draw.
    const testing::AssertionResult leaking = LeavesNoGdiObjects([&] { LeakingDraw(dib, canvas.Dc()); }, 10);
    EXPECT_FALSE(leaking);
    EXPECT_NE(std::string::npos, std::string(leaking.message()).find("went from"));
}
