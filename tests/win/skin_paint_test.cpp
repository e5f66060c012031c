// The skin's drawing, pixel by pixel in 32-bit memory device contexts: the
// activity segments and the light, the whole window picture with its
// colourised background and title bar, the logo's key colour, and the three
// text colours.
#include "skin/ActivityBars.h"
#include "skin/SkinMainWnd.h"

#include "dib/HlsColor.h"
#include "settings/ResourceIds.h"

#include "skin_test_support.h"

#include <memory>

using namespace skintest;

namespace {

COLORREF ToColorref(const RgbColor& c)
{
    return RGB(c.red, c.green, c.blue);
}

// ---- Activity bars and light ----------------------------------------------

class ActivityPaintTest : public ::testing::Test {
protected:
    void SetUp() override { lights.LoadFromResource(IDB_SKIN_LIGHTS); }

    // 0 unlit, 1 lit, -1 neither colour.
    static int SegmentState(const TestCanvas& canvas, int bar, int segment)
    {
        static const COLORREF unlit[3] = {RGB(0, 64, 0), RGB(64, 64, 0), RGB(64, 0, 0)};
        static const COLORREF lit[3] = {RGB(0, 128, 0), RGB(128, 128, 0), RGB(128, 0, 0)};
        int group = segment < 4 ? 0 : segment < 7 ? 1 : 2;
        int left = 275 + segment * 9;
        int top = bar == 0 ? 224 : 204;
        COLORREF first = canvas.At(left, top);
        for (int y = top; y < top + 15; ++y)
            for (int x = left; x < left + 5; ++x)
                if (canvas.At(x, y) != first)
                    return -1;
        return first == lit[group] ? 1 : first == unlit[group] ? 0 : -1;
    }

    CDib lights{true};
    CActivityBars bars;
};

// Lower bar at each level, upper bar full: lit segments in steps of ten, the
// gaps and the space around the bars left alone.
TEST_F(ActivityPaintTest, SegmentsLightInStepsOfTenAtTheirPlaces)
{
    const struct { int level, lit; } cases[] = {{0, 0}, {9, 0}, {11, 1}, {45, 4}, {70, 7}, {99, 9}, {100, 10},
                                                {250, 10}, {-5, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        auto canvas = FilledCanvas();
        bars.m_nLowerLevel = c.level;
        bars.m_nUpperLevel = 100;
        bars.Draw(canvas->Dc(), lights);
        for (int segment = 0; segment < 10; ++segment) {
            EXPECT_EQ(SegmentState(*canvas, 0, segment), segment < c.lit ? 1 : 0) << segment;
            EXPECT_EQ(SegmentState(*canvas, 1, segment), 1) << segment;
            const int gap = 275 + segment * 9 + 5;
            for (int x = gap; x < gap + 4 && x < 364; ++x) {
                EXPECT_EQ(canvas->At(x, 204), kFill) << x;
                EXPECT_EQ(canvas->At(x, 230), kFill) << x;
            }
        }
        // The ten segments span x 275 to 361; nothing beyond, above, between or below.
        const struct { int x, y; bool filled; } edges[] = {{274, 210, true}, {275, 210, false}, {360, 210, false},
            {361, 210, true}, {277, 203, true}, {277, 218, false}, {277, 219, true}, {277, 223, true},
            {277, 238, false}, {277, 239, true}, {252, 210, true} /* no light before the first poll */};
        for (const auto& e : edges)
            EXPECT_EQ(canvas->At(e.x, e.y) == kFill, e.filled) << e.x << "," << e.y;
    }
}

TEST_F(ActivityPaintTest, TheLightShowsItsImageWithTheKeyColourLeftOut)
{
    for (int image = 0; image < 3; ++image) {
        auto canvas = FilledCanvas();
        bars.m_nLightImage = image;
        bars.Draw(canvas->Dc(), lights);
        int keyPixels = 0;
        COLORREF key = ImagePixel(lights, 1, 25 * image);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 11; ++x) {
                COLORREF source = ImagePixel(lights, 1 + x, 25 * image + y);
                COLORREF expected = source == key ? kFill : source;
                keyPixels += source == key;
                ASSERT_EQ(canvas->At(247 + x, 205 + y), expected) << image << " at " << x << "," << y;
            }
        EXPECT_GT(keyPixels, 0);
        EXPECT_EQ(canvas->At(246, 205), kFill);
        EXPECT_EQ(canvas->At(258, 205), kFill);
        EXPECT_EQ(canvas->At(247, 216), kFill);
    }
}

TEST_F(ActivityPaintTest, ComposedLightsLookLikeLightsDrawnOverTheBackground)
{
    auto background = FilledCanvas();
    for (int y = 200; y < 220; ++y)
        for (int x = 240; x < 260; ++x)
            background->Set(x, y, RGB(x * 5, y, 77));
    bars.ComposeLights(background->Dc(), lights);
    for (int image = 0; image < 3; ++image) {
        TestCanvas direct(388, 263), composed(388, 263);
        BitBlt(direct.Dc(), 0, 0, 388, 263, background->Dc(), 0, 0, SRCCOPY);
        BitBlt(composed.Dc(), 0, 0, 388, 263, background->Dc(), 0, 0, SRCCOPY);
        lights.Draw(direct.Dc(), 247, 205, 1, 25 * image, 11, 11);
        bars.m_nLightImage = image;
        bars.DrawLight(composed.Dc(), lights);
        for (int y = 205; y < 216; ++y)
            for (int x = 247; x < 258; ++x)
                ASSERT_EQ(composed.At(x, y), direct.At(x, y)) << image << " at " << x << "," << y;
    }
}

// ---- Loads, blinking and counters -------------------------------------------

// Load in per cent: cells * 424 bits against the rate in kbit/s.
TEST(ActivityLoadTest, ComputesLoadsAsTheMeterAlwaysHas)
{
    const struct { uint32_t cells, rate; int load; const char* what; } cases[] = {
        {1000, 1000, 42, "424000 bits against 1000 kbit/s"},
        {0, 1000, 0, "no traffic"},
        {1, 8000, 11, "any traffic lights one segment"},
        {1, 0, 11, "traffic against no rate"},
        {0, 0, 0, "nothing against nothing"},
        {10614, 10000, 45, "45 per cent"},
        {1000000, 100, 424000, "far above 100"},
        {5, 3000000, 11, "a product wrapping negative, raised by the traffic"},
        {0, 0x20000000u, 0, "a product wrapping to 0 divides by nothing"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CActivityBars::ComputeLoad(c.cells, c.rate), c.load) << c.what;
    // A huge difference against a tiny rate is a full bar, never a wrapped number.
    EXPECT_GE(CActivityBars::ComputeLoad(0xFFFFFFFFu, 1), 100);
}

class ActivityPollTest : public ::testing::Test {
protected:
    void SetUp() override { CActivityBars::s_nBlinkCounter = 0; }

    static LinePoll Poll(uint32_t state, uint32_t upperRate = 1000, uint32_t lowerRate = 1000)
    {
        LinePoll poll;
        poll.stateReadable = true;
        poll.state = state;
        poll.upperRate = upperRate;
        poll.lowerRate = lowerRate;
        return poll;
    }

    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    CActivityBars bars;
};

TEST_F(ActivityPollTest, TrainingBlinksTheLightOtherStatesShowTheirLights)
{
    std::vector<int> images;
    for (int i = 0; i < 4; ++i) {
        bars.Update(Poll(1));
        images.push_back(bars.m_nLightImage);
        EXPECT_EQ(bars.m_nUpperLevel, 0);
    }
    EXPECT_EQ(images, (std::vector<int>{2, 0, 2, 0}));
    EXPECT_EQ(CActivityBars::s_nBlinkCounter, 4);
    EXPECT_EQ(device.callCount(0x0301), 0u); // counters are read only while up

    // The counter is the program's: another window continues the rhythm.
    CActivityBars other;
    CActivityBars::s_nBlinkCounter = 3;
    other.Update(Poll(1));
    EXPECT_EQ(other.m_nLightImage, 0);

    // Only training counts; other states and an unreadable state have their own lights.
    for (uint32_t state : {0u, 7u}) {
        bars.Update(Poll(state));
        EXPECT_EQ(bars.m_nLightImage, CActivityBars::kLightDown) << state;
    }
    bars.Update(LinePoll());
    EXPECT_EQ(bars.m_nLightImage, CActivityBars::kLightUnreadable);
    EXPECT_EQ(CActivityBars::s_nBlinkCounter, 4);
}

TEST_F(ActivityPollTest, CountersAreDifferencedModulo2To32AndPairedWithTheirRates)
{
    device.answerDword(0x0301, 4294967000u);
    device.answerDword(0x0381, 2147483648u);
    bars.Update(Poll(2, 10, 1000000));
    EXPECT_EQ(bars.m_nUpperPrevious, 4294967000u);
    EXPECT_EQ(bars.m_nLowerPrevious, 2147483648u);
    device.answerDword(0x0301, 200);
    device.answerDword(0x0381, 2147483648u + 1000);
    bars.Update(Poll(2, 10, 1000000));
    // 496 cells against 10 kbit/s (upper); 1000 cells against 1000000 kbit/s (lower).
    EXPECT_EQ(bars.m_nUpperLevel, CActivityBars::ComputeLoad(496, 10));
    EXPECT_EQ(bars.m_nUpperLevel, 2103);
    EXPECT_EQ(bars.m_nLowerLevel, 11);
    EXPECT_EQ(bars.m_nLightImage, CActivityBars::kLightConnected);

    // A disconnection keeps the previous values; the next connected poll measures from them.
    bars.Update(Poll(0));
    EXPECT_EQ(bars.m_nUpperLevel, 0);
    EXPECT_EQ(bars.m_nUpperPrevious, 200u);
    device.answerDword(0x0301, 200);
    bars.Update(Poll(2, 10, 1000000));
    EXPECT_EQ(bars.m_nUpperLevel, 0);

    // A failed counter reads 0 and is remembered as such.
    device.failCall(0x0301);
    bars.Update(Poll(2, 10, 1000000));
    EXPECT_EQ(bars.m_nUpperPrevious, 0u);
}

// ---- The whole window picture ------------------------------------------------

class WindowPaintTest : public SkinTest {
protected:
    std::unique_ptr<TestCanvas> Paint(const std::vector<std::string>& settings = {})
    {
        WriteSettings(settings);
        window = std::make_unique<CSkinMainWnd>(app);
        auto canvas = FilledCanvas();
        window->PaintContent(canvas->Dc());
        return canvas;
    }

    std::unique_ptr<CSkinMainWnd> window;
};

TEST_F(WindowPaintTest, BackgroundPanelTitleBarAndRowsSitWhereTheyBelong)
{
    auto canvas = Paint();
    const CDib& background = window->GetBackground();
    // Outside the panel: the background, greyed by Sat=0.
    for (POINT p : {POINT{5, 100}, POINT{200, 45}, POINT{380, 250}, POINT{200, 195}}) {
        COLORREF expected = ImagePixel(background, p.x, p.y);
        EXPECT_EQ(canvas->At(p.x, p.y), expected) << p.x << "," << p.y;
        EXPECT_EQ(GetRValue(expected), GetGValue(expected));
    }
    // The panel is black where no text goes, and ends at (359, 189).
    EXPECT_EQ(canvas->At(27, 188), RGB(0, 0, 0));
    EXPECT_EQ(canvas->At(358, 188), RGB(0, 0, 0));
    EXPECT_EQ(canvas->At(358, 189), ImagePixel(background, 358, 189));
    EXPECT_EQ(canvas->At(359, 100), ImagePixel(background, 359, 100));
    EXPECT_EQ(canvas->At(26, 100), ImagePixel(background, 26, 100));
    // The title bar at (27, 53); its far right end carries no text.
    const CDib& titleBar = window->GetTitleBar();
    EXPECT_EQ(titleBar.m_nWidth, 331);
    for (int y = 53; y < 73; ++y)
        EXPECT_EQ(canvas->At(356, y), ImagePixel(titleBar, 329, y - 53)) << y;
    EXPECT_EQ(canvas->At(27, 53), ImagePixel(titleBar, 0, 0));
    EXPECT_EQ(canvas->At(27, 73), RGB(0, 0, 0));

    // Rows: offset(r) = T + L + 3rL/2 below the panel's top.
    int lineHeight = window->GetLineHeight();
    for (int row = 0; row < 4; ++row) {
        RECT label = window->LabelRect(row);
        RECT value = window->ValueRect(row);
        EXPECT_EQ(label.top, 53 + 20 + lineHeight + (3 * row * lineHeight) / 2);
        EXPECT_EQ(label.bottom - label.top, lineHeight);
        EXPECT_EQ(label.left, 27);
        EXPECT_EQ(label.right, 188);
        EXPECT_EQ(value.left, 198);
        EXPECT_EQ(value.right, 359);
        // Label text in its colour, value text in its own.
        EXPECT_GT(CountColour(*canvas, label, RGB(0, 255, 255)), 0) << row;
        EXPECT_GT(CountColour(*canvas, value, RGB(255, 255, 0)), 0) << row;
        EXPECT_EQ(CountColour(*canvas, label, RGB(255, 255, 0)), 0) << row;
    }
    // Labels are right-aligned against the centre, values left-aligned after it.
    RECT label = window->LabelRect(0);
    RECT leftHalf = {27, label.top, 100, label.bottom};
    RECT nearCentre = {160, label.top, 188, label.bottom};
    EXPECT_EQ(CountColour(*canvas, leftHalf, RGB(0, 255, 255)), 0);
    EXPECT_GT(CountColour(*canvas, nearCentre, RGB(0, 255, 255)), 0);
    RECT value = window->ValueRect(0);
    RECT valueStart = {198, value.top, 215, value.bottom};
    EXPECT_GT(CountColour(*canvas, valueStart, RGB(255, 255, 0)), 0);
    // The light of the first poll (line up: image 0) is in the picture.
    EXPECT_EQ(canvas->At(252, 210), ImagePixel(window->GetLights(), 6, 5));
}

TEST_F(WindowPaintTest, HueAndSatColouriseTheBackgroundAndTitlebarSettingsTheTitleBar)
{
    auto grey = Paint({"Hue=0", "Sat=0", "TitlebarHue=0", "TitlebarSat=0"});
    auto coloured = Paint({"Hue=84", "Sat=200", "TitlebarHue=168", "TitlebarSat=252"});
    // Background pixel (5, 100) has index (5 + 200) % 256 = grey 205.
    int lightness = Lightness(205, 205, 205);
    EXPECT_EQ(grey->At(5, 100), ToColorref(HlsToRgb(0, lightness, 0)));
    EXPECT_EQ(coloured->At(5, 100), ToColorref(HlsToRgb(84, lightness, 200)));
    EXPECT_NE(GetGValue(coloured->At(5, 100)), GetRValue(coloured->At(5, 100)));
    // Title bar pixel (329, y) of the test bar: palette entry (i, i, i + 10).
    COLORREF titleGrey = grey->At(356, 60);
    COLORREF titleColoured = coloured->At(356, 60);
    EXPECT_NE(titleGrey, titleColoured);
    EXPECT_EQ(GetRValue(titleGrey), GetGValue(titleGrey));
    EXPECT_GT(GetBValue(titleColoured), GetGValue(titleColoured)); // hue 168: blue
    // The title bar's colour does not follow Hue/Sat.
    auto onlyBackground = Paint({"Hue=84", "Sat=200", "TitlebarHue=0", "TitlebarSat=0"});
    EXPECT_EQ(onlyBackground->At(356, 60), titleGrey);
    EXPECT_EQ(onlyBackground->At(5, 100), coloured->At(5, 100));
}

TEST_F(WindowPaintTest, ButtonStripsFollowHueAndSatOnlyWhenAskedTo)
{
    Paint({"Hue=84", "Sat=200", "UseHueAndSat=0"});
    COLORREF plain = ImagePixel(window->GetButton(2).m_strip, 92, 5);
    Paint({"Hue=84", "Sat=200", "UseHueAndSat=1"});
    COLORREF coloured = ImagePixel(window->GetButton(2).m_strip, 92, 5);
    EXPECT_NE(plain, coloured);
    const RgbColor original = {40 + 50 * 3, 30, 200 - 40 * 3};
    EXPECT_EQ(plain, ToColorref(original));
    EXPECT_EQ(coloured, ToColorref(HlsToRgb(84, Lightness(original.red, original.green, original.blue), 200)));
}

TEST_F(WindowPaintTest, TextColoursComeFromTheirThreeKeys)
{
    auto canvas = Paint({"TitlebarTextRGB=0,255,0", "LabelTextRGB=255,0,255", "StatusTextRGB=0,128,255"});
    RECT title = window->TitleRect();
    EXPECT_GT(CountColour(*canvas, title, RGB(0, 255, 0)), 0);
    RECT labels = {27, window->LabelRect(0).top, 188, window->LabelRect(3).bottom};
    RECT values = {198, window->ValueRect(0).top, 359, window->ValueRect(3).bottom};
    EXPECT_GT(CountColour(*canvas, labels, RGB(255, 0, 255)), 0);
    EXPECT_GT(CountColour(*canvas, values, RGB(0, 128, 255)), 0);
    EXPECT_EQ(CountColour(*canvas, values, RGB(255, 0, 255)), 0);

    // Two numbers are no colour: the title is drawn in black.
    auto black = Paint({"TitlebarTextRGB=0,255"});
    EXPECT_EQ(CountColour(*black, title, RGB(0, 255, 0)), 0);
    EXPECT_GT(CountColour(*black, title, RGB(0, 0, 0)), 0);
    // A missing key draws black on black: nothing shows in the value rows.
    auto missing = Paint({"StatusTextRGB="});
    for (int row = 0; row < 4; ++row) {
        RECT value = window->ValueRect(row);
        int area = (value.right - value.left) * (value.bottom - value.top);
        EXPECT_EQ(CountColour(*missing, value, RGB(0, 0, 0)), area) << row;
    }
}

TEST_F(WindowPaintTest, TheLogoLeavesOutItsKeyColourOnlyWhenTransparent)
{
    // The test logo is 40 x 30 at (18, (53 - 30) / 2 = 11): key green left half, orange right half.
    auto transparent = Paint({"TransparentBitmap=1"});
    EXPECT_EQ(transparent->At(48, 20), RGB(255, 128, 0));
    EXPECT_EQ(transparent->At(20, 20), ImagePixel(window->GetBackground(), 20, 20));
    auto opaque = Paint({"TransparentBitmap=0"});
    EXPECT_EQ(opaque->At(20, 20), RGB(0, 255, 0));
    EXPECT_EQ(opaque->At(18, 11), RGB(0, 255, 0));
    EXPECT_EQ(opaque->At(17, 11), ImagePixel(window->GetBackground(), 17, 11));
    EXPECT_EQ(opaque->At(57, 40), RGB(255, 128, 0));
    EXPECT_EQ(opaque->At(57, 41), ImagePixel(window->GetBackground(), 57, 41));
}

} // namespace
