// CDib::Draw into memory device contexts, checked pixel by pixel: opaque,
// with the key colour left out, parts of images, row order, and no GDI leak.
#include "dib/Dib.h"
#include "dib/OctalPalette.h"

#include "../support/GdiObjects.h"
#include "../support/BmpBuilder.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using bmptest::BmpLayout;
using bmptest::Rgb;

namespace {

constexpr COLORREF kBackdrop = RGB(10, 20, 200);

// An 8-bit image with one colour per (x, y) drawn from `color`.
void LoadIndexed(CDib& dib, int width, int height, const std::function<Rgb(int, int)>& color)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = 8;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = color(x, y);
            uint32_t index = 0;
            while (index < layout.table.size() &&
                   (layout.table[index].r != c.r || layout.table[index].g != c.g || layout.table[index].b != c.b))
                ++index;
            if (index == layout.table.size())
                layout.table.push_back(c);
            layout.indexes.push_back(index);
        }
    }
    layout.colorsUsed = uint32_t(layout.table.size());
    const std::vector<uint8_t> bytes = bmptest::PackedBitmap(layout);
    dib.LoadPacked(bytes.data(), uint32_t(bytes.size()));
}

void LoadTrueColor(CDib& dib, int width, int height, const std::function<Rgb(int, int)>& color)
{
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            layout.colors.push_back(color(x, y));
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

} // namespace

TEST(DibDraw, OpaqueDrawCopiesEveryPixel)
{
    CDib dib(false);
    LoadIndexed(dib, 12, 10, Logo);
    TestCanvas canvas(20, 16);
    ASSERT_TRUE(canvas.IsReady());
    canvas.Fill(kBackdrop);
    dib.Draw(canvas.Dc(), 4, 3);
    EXPECT_EQ(0, CountWrong(canvas, [](int x, int y) {
                  return Inside(x, y, 4, 3, 12, 10) ? Ref(Logo(x - 4, y - 3)) : kBackdrop;
              }));
}

TEST(DibDraw, TransparentDrawShowsTheTargetExactlyWhereTheKeyWas)
{
    for (bool trueColor : {false, true}) {
        SCOPED_TRACE(trueColor ? "24 bits" : "8 bits");
        CDib dib(true);
        if (trueColor)
            LoadTrueColor(dib, 12, 10, Logo);
        else
            LoadIndexed(dib, 12, 10, Logo);
        TestCanvas canvas(20, 16);
        // A patterned target, so that "shows the target" is seen pixel by pixel.
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x)
                canvas.Set(x, y, RGB(x * 12, y * 15, 77));
        dib.Draw(canvas.Dc(), 6, 2);
        EXPECT_EQ(0, CountWrong(canvas, [](int x, int y) {
                      const COLORREF target = RGB(x * 12, y * 15, 77);
                      if (!Inside(x, y, 6, 2, 12, 10))
                          return target;
                      const Rgb c = Logo(x - 6, y - 2);
                      return c.r == 0 && c.g == 255 && c.b == 0 ? target : Ref(c);
                  }));
    }
}

TEST(DibDraw, TransparentOnTheKeyColourLooksLikeOpaque)
{
    CDib transparent(true), opaque(false);
    LoadIndexed(transparent, 12, 10, Logo);
    LoadIndexed(opaque, 12, 10, Logo);
    TestCanvas a(12, 10), b(12, 10);
    a.Fill(RGB(0, 255, 0));
    b.Fill(RGB(0, 255, 0));
    transparent.Draw(a.Dc(), 0, 0);
    opaque.Draw(b.Dc(), 0, 0);
    EXPECT_EQ(0, CountWrong(a, [&](int x, int y) { return b.At(x, y); }));
}

TEST(DibDraw, APartTakesItsKeyFromItsOwnTopLeftPixel)
{
    // Columns of 10 pixels in four states, like a button strip; the key
    // differs per column and the part at (10, 0) must use blue, not green.
    auto strip = [](int x, int y) {
        const bool border = x % 10 == 0 || y == 0;
        if (x < 10)
            return border ? Rgb{0, 255, 0} : Rgb{200, 200, 200};
        return border ? Rgb{0, 0, 255} : (x == 15 ? Rgb{0, 255, 0} : Rgb{90, 90, 90});
    };
    CDib dib(true);
    LoadIndexed(dib, 20, 8, strip);
    TestCanvas canvas(10, 8);
    canvas.Fill(kBackdrop);
    dib.Draw(canvas.Dc(), 0, 0, 10, 0, 10, 8);
    EXPECT_EQ(0, CountWrong(canvas, [&](int x, int y) {
                  const Rgb c = strip(x + 10, y);
                  return c.r == 0 && c.g == 0 && c.b == 255 ? kBackdrop : Ref(c); // green stays
              }));
}

TEST(DibDraw, SourceRowsCountFromTheTop)
{
    // 25 rows, each its own colour: the part at source (0, 10), 5 high, is
    // rows 10..14 from the top (storage rows 10..14 from the bottom).
    auto rows = [](int, int y) { return Rgb{uint8_t(y * 10), uint8_t(250 - y * 10), 33}; };
    for (bool transparent : {false, true}) {
        CDib dib(transparent);
        LoadIndexed(dib, 4, 25, rows);
        TestCanvas canvas(4, 5);
        canvas.Fill(kBackdrop);
        dib.Draw(canvas.Dc(), 0, 0, 0, 10, 4, 5);
        EXPECT_EQ(0, CountWrong(canvas, [&](int x, int y) {
                      if (transparent && y == 0)
                          return kBackdrop; // the whole first row is the part's key colour
                      return Ref(rows(x, y + 10));
                  }))
            << (transparent ? "transparent" : "opaque");
    }
}

TEST(DibDraw, ZeroSizeMeansTheWholeImageAndPartsClipToIt)
{
    CDib dib(false);
    LoadTrueColor(dib, 12, 10, Logo);
    TestCanvas whole(12, 10), part(12, 10);
    whole.Fill(kBackdrop);
    part.Fill(kBackdrop);
    dib.Draw(whole.Dc(), 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(0, CountWrong(whole, [](int x, int y) { return Ref(Logo(x, y)); }));
    dib.Draw(part.Dc(), 2, 1, 3, 3, 6, 4); // the frame only
    EXPECT_EQ(0, CountWrong(part, [](int x, int y) {
                  return Inside(x, y, 2, 1, 6, 4) ? Ref(Logo(x + 1, y + 2)) : kBackdrop;
              }));
}

TEST(DibDraw, NothingIsDrawnWithoutAnImage)
{
    CDib empty(true), failed(false), freed(true);
    EXPECT_ANY_THROW(failed.LoadPacked("junk", 4));
    LoadIndexed(freed, 12, 10, Logo);
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
    LoadIndexed(dib, 12, 10, Logo);
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

TEST(DibDraw, SharedPaletteDoesNotChangeTrueColourOutput)
{
    CDib a(true), b(false);
    LoadIndexed(a, 12, 10, Logo);
    LoadTrueColor(b, 12, 10, Logo);
    std::unique_ptr<CPalette> palette = CreateOctalPalette({&a, &b});
    ASSERT_NE(nullptr, palette);
    a.SetPalette(palette.get());
    b.SetPalette(palette.get());
    TestCanvas canvas(12, 10);
    canvas.Fill(kBackdrop);
    a.Draw(canvas.Dc(), 0, 0);
    EXPECT_EQ(0, CountWrong(canvas, [](int x, int y) {
                  const Rgb c = Logo(x, y);
                  return c.r == 0 && c.g == 255 && c.b == 0 ? kBackdrop : Ref(c);
              }));
}

namespace {

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

TEST(DibDraw, TenThousandTransparentDrawsLeaveNoGdiObjectBehind)
{
    CDib dib(true);
    LoadIndexed(dib, 12, 10, Logo);
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
