// The skin's drawing in 32-bit memory device contexts, compared as whole
// pictures with one composed here from the same bitmaps: the bars and the
// light, the window (colourised background and title bar, logo, lights
// composed over the background, three text colours), the buttons' state
// images and focus ring. Also the bars' loads, blinking and counters.
#include "skin/ActivityBars.h"
#include "skin/SkinLayout.h"
#include "skin/SkinMainWnd.h"

#include "settings/ResourceIds.h"

#include "skin_test_support.h"

#include <functional>
#include <memory>

using namespace skintest;
using namespace SkinLayout;

namespace {

// Pixels of `canvas` that differ from `expected` where `checked` holds.
int CountWrong(const TestCanvas& canvas, const TestCanvas& expected,
               const std::function<bool(int, int)>& checked = [](int, int) { return true; })
{
    int wrong = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (checked(x, y) && canvas.At(x, y) != expected.At(x, y) && ++wrong <= 3)
                ADD_FAILURE() << x << "," << y << ": " << TestCanvas::Text(canvas.At(x, y)) << " expected "
                              << TestCanvas::Text(expected.At(x, y));
    return wrong;
}

// A bitmap resource of this program, colourised when `hue` >= 0.
std::unique_ptr<CDib> Resource(uint16_t id, bool transparent, int hue = -1, int sat = 0)
{
    auto dib = std::make_unique<CDib>(transparent);
    dib->m_bRecolor = hue >= 0;
    dib->m_nHue = uint8_t(hue);
    dib->m_nSat = uint8_t(sat);
    dib->LoadFromResource(id);
    return dib;
}

// The bars at the given levels: segments 0-3 green, 4-6 yellow, 7-9 red.
void DrawBars(TestCanvas& canvas, int lower, int upper)
{
    static const COLORREF unlit[3] = {RGB(0, 64, 0), RGB(64, 64, 0), RGB(64, 0, 0)};
    static const COLORREF lit[3] = {RGB(0, 128, 0), RGB(128, 128, 0), RGB(128, 0, 0)};
    for (int bar = 0; bar < 2; ++bar)
        for (int i = 0; i < 10; ++i)
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 5; ++x) {
                    const int group = i < 4 ? 0 : i < 7 ? 1 : 2;
                    const bool on = i < (bar == kLowerBar ? lower : upper) / 10;
                    canvas.Set(275 + 9 * i + x, kBars[bar].y + y, on ? lit[group] : unlit[group]);
                }
}

TEST(ActivityPaint, SegmentsLightInStepsOfTenAndTheLightLeavesOutItsKey)
{
    const std::unique_ptr<CDib> lights = Resource(IDB_SKIN_LIGHTS, true);
    const struct { int lower, upper, light; } cases[] = {
        {0, 100, CActivityBars::kLightNone}, {9, 11, 0}, {45, 70, 1}, {99, 250, 2}, {-5, 100, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lower << "/" << c.upper << "/" << c.light);
        CActivityBars bars;
        bars.m_nLowerLevel = c.lower;
        bars.m_nUpperLevel = c.upper;
        bars.m_nLightImage = c.light;
        TestCanvas canvas(388, 263), expected(388, 263);
        canvas.Fill(kFill);
        expected.Fill(kFill);
        bars.Draw(canvas.Dc(), *lights);
        DrawBars(expected, c.lower, c.upper);
        if (c.light >= 0)
            lights->Draw(expected.Dc(), 247, 205, 1, 25 * c.light, 11, 11);
        EXPECT_EQ(0, CountWrong(canvas, expected));
        EXPECT_EQ(kFill, canvas.At(247, 205)); // the lamp's corner is its key colour
    }
}

// Load in per cent: cells * 424 bits against the rate in kbit/s.
TEST(ActivityLoad, ComputesLoadsAsTheMeterAlwaysHas)
{
    const struct { uint32_t cells, rate; int load; } cases[] = {
        {1000, 1000, 42}, {0, 1000, 0},   {1, 8000, 11}, {1, 0, 11},  {0, 0, 0},   {10614, 10000, 45},
        {1000000, 100, 424000}, {5, 3000000, 11} /* a product wrapping negative */, {0, 0x20000000u, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.load, CActivityBars::ComputeLoad(c.cells, c.rate)) << c.cells << "/" << c.rate;
    EXPECT_GE(CActivityBars::ComputeLoad(0xFFFFFFFFu, 1), 100);
}

LinePoll Poll(uint32_t state, uint32_t upperRate = 1000, uint32_t lowerRate = 1000)
{
    LinePoll poll;
    poll.stateReadable = true;
    poll.state = state;
    poll.upperRate = upperRate;
    poll.lowerRate = lowerRate;
    return poll;
}

TEST(ActivityPoll, TrainingBlinksTheLightInStepWithTheProgramsCounter)
{
    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    CActivityBars::s_nBlinkCounter = 0;
    CActivityBars bars, other;
    std::vector<int> images;
    for (int i = 0; i < 4; ++i) {
        (i == 2 ? other : bars).Update(Poll(1)); // another window continues the rhythm
        images.push_back((i == 2 ? other : bars).m_nLightImage);
    }
    EXPECT_EQ((std::vector<int>{2, 0, 2, 0}), images);
    EXPECT_EQ(0u, device.callCount(0x0301)); // counters are read only while up
    for (uint32_t state : {0u, 7u}) {
        bars.Update(Poll(state));
        EXPECT_EQ(CActivityBars::kLightDown, bars.m_nLightImage) << state;
    }
    bars.Update(LinePoll());
    EXPECT_EQ(CActivityBars::kLightUnreadable, bars.m_nLightImage);
    EXPECT_EQ(4, CActivityBars::s_nBlinkCounter);
}

TEST(ActivityPoll, CountersAreDifferencedModulo2To32AgainstTheirOwnRates)
{
    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    CActivityBars bars;
    device.answerDword(0x0301, 4294967000u);
    device.answerDword(0x0381, 2147483648u);
    bars.Update(Poll(2, 10, 1000000));
    device.answerDword(0x0301, 200);
    device.answerDword(0x0381, 2147483648u + 1000);
    bars.Update(Poll(2, 10, 1000000));
    EXPECT_EQ(2103, bars.m_nUpperLevel); // 496 cells against 10 kbit/s
    EXPECT_EQ(11, bars.m_nLowerLevel);   // 1000 cells against 1000000 kbit/s
    // A disconnection keeps the previous values; the next connected poll measures from them.
    bars.Update(Poll(0));
    EXPECT_EQ(0, bars.m_nUpperLevel);
    bars.Update(Poll(2, 10, 1000000));
    EXPECT_EQ(0, bars.m_nUpperLevel);
    device.failCall(0x0301); // a failed counter reads 0 and is remembered as such
    bars.Update(Poll(2, 10, 1000000));
    EXPECT_EQ(0u, bars.m_nUpperPrevious);
}

// ---- The whole window picture ------------------------------------------------

class WindowPaintTest : public SkinTest {
protected:
    std::unique_ptr<TestCanvas> Paint(const std::vector<std::string>& settings)
    {
        WriteSettings(settings);
        window = std::make_unique<CSkinMainWnd>(app);
        return Repaint();
    }
    std::unique_ptr<TestCanvas> Repaint()
    {
        auto canvas = std::make_unique<TestCanvas>(388, 263);
        canvas->Fill(kFill);
        window->PaintContent(canvas->Dc());
        return canvas;
    }
    // Pixels of `colour` in the rectangle.
    static int Count(const TestCanvas& canvas, RECT area, COLORREF colour)
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += canvas.At(x, y) == colour;
        return n;
    }

    std::unique_ptr<CSkinMainWnd> window;
};

TEST_F(WindowPaintTest, BackgroundLogoTitleBarPanelLightAndTextColours)
{
    const struct {
        std::vector<std::string> settings;
        int hue, sat, titleHue, titleSat;
        bool transparent;
        COLORREF title, label, value;
    } cases[] = {
        {{}, 0, 0, 0, 0, true, RGB(255, 255, 255), RGB(0, 255, 255), RGB(255, 255, 0)},
        {{"Hue=84", "Sat=200", "TitlebarHue=168", "TitlebarSat=252", "TransparentBitmap=0", "TitlebarTextRGB=0,255,0",
          "LabelTextRGB=255,0,255", "StatusTextRGB=0,128,255"},
         84, 200, 168, 252, false, RGB(0, 255, 0), RGB(255, 0, 255), RGB(0, 128, 255)},
        {{"Hue=84", "Sat=200", "TitlebarTextRGB=0,255", "StatusTextRGB="}, 84, 200, 0, 0, true, RGB(0, 0, 0),
         RGB(0, 255, 255), RGB(0, 0, 0)}, // not three numbers: black
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hue + c.titleHue);
        auto canvas = Paint(c.settings);
        TestCanvas expected(388, 263);
        Resource(IDB_SKIN_BACKGROUND, false, c.hue, c.sat)->Draw(expected.Dc(), 0, 0);
        CDib logo(c.transparent);
        logo.LoadFromFile(ProgramFile("LogoSkin.bmp"));
        logo.Draw(expected.Dc(), 18, 11);
        const std::unique_ptr<CDib> titleBar = Resource(IDB_SKIN_TITLEBAR, false, c.titleHue, c.titleSat);
        titleBar->Draw(expected.Dc(), 27, 53);
        DrawBars(expected, 0, 0);
        Resource(IDB_SKIN_LIGHTS, true)->Draw(expected.Dc(), 247, 205, 1, 0, 11, 11); // line up
        // Everything but the text panel is exactly that picture.
        EXPECT_EQ(0, CountWrong(*canvas, expected, [](int x, int y) { return x < 27 || x >= 359 || y < 53 || y >= 189; }));
        // The panel: the title bar with the title text on it, then black with labels left and values right.
        const RECT title = {27, 53, 358, 73}, labels = {27, 73, 188, 189}, values = {198, 73, 359, 189};
        EXPECT_GT(Count(*canvas, title, c.title), 20);
        EXPECT_EQ(0, CountWrong(*canvas, expected, [](int x, int y) { return x >= 353 && x < 358 && y >= 53 && y < 73; }));
        EXPECT_GT(Count(*canvas, labels, c.label), 20);
        EXPECT_EQ(0, Count(*canvas, values, c.label));
        if (c.value == RGB(0, 0, 0)) {
            EXPECT_EQ((359 - 198) * (189 - 73), Count(*canvas, values, RGB(0, 0, 0)));
        } else {
            EXPECT_GT(Count(*canvas, values, c.value), 20);
            EXPECT_EQ(0, Count(*canvas, labels, c.value));
        }
    }
    // Colourising shows, and the text colours are read anew for every draw.
    auto grey = Paint({});
    auto coloured = Paint({"Hue=84", "Sat=200"});
    EXPECT_NE(GetRValue(coloured->At(5, 100)), GetGValue(coloured->At(5, 100)));
    EXPECT_EQ(GetRValue(grey->At(5, 100)), GetGValue(grey->At(5, 100)));
    WriteSettings({"StatusTextRGB=255,0,128"});
    EXPECT_GT(Count(*Repaint(), {198, 73, 359, 189}, RGB(255, 0, 128)), 20);
}

// Each state shows the top-left of its image in the strip column, with the
// key colour left out; the strip follows Hue/Sat only with UseHueAndSat=1.
TEST_F(WindowPaintTest, ButtonsShowTheirStateImagesAndTheFocusRing)
{
    for (int useHueAndSat : {0, 1}) {
        Paint({"Hue=84", "Sat=200", "UseHueAndSat=" + std::to_string(useHueAndSat)});
        HWND hwnd = window->m_hWnd;
        const std::unique_ptr<CDib> strip = Resource(IDB_SKIN_BUTTONS, true, useHueAndSat ? 84 : -1, 200);
        CSkinButton& minimise = Button(hwnd, kMinimiseCommand);
        const struct { const char* state; CSkinButton& button; int column, image; std::function<void()> enter; } states[] = {
            {"normal", minimise, 90, 0, [] {}},
            {"hot", minimise, 90, 1, [&] { SendMessageW(minimise.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }},
            {"pressed", minimise, 90, 3, [&] { SendMessageW(minimise.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }},
            {"disabled", Button(hwnd, kPreviousPageCommand), 30, 2, [] {}},
        };
        for (const auto& s : states) {
            SCOPED_TRACE(testing::Message() << s.state << ", UseHueAndSat=" << useHueAndSat);
            s.enter();
            TestCanvas canvas(17, 17), expected(17, 17);
            canvas.Fill(kFill);
            expected.Fill(kFill);
            s.button.PaintContent(canvas.Dc());
            strip->Draw(expected.Dc(), 0, 0, s.column, 25 * s.image, 17, 17);
            EXPECT_EQ(0, CountWrong(canvas, expected));
            EXPECT_EQ(kFill, canvas.At(0, 0));
        }
        ReleaseCapture();
    }
    // The focused close button: a dotted outline of its whole picture, nothing inside.
    TestCanvas canvas(17, 17);
    canvas.Fill(kFill);
    Button(window->m_hWnd, kCloseWindowCommand).PaintContent(canvas.Dc());
    const COLORREF ring = RGB(164, 164, 164);
    int onOutline = 0, inside = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x)
            (x == 0 || y == 0 || x == 16 || y == 16 ? onOutline : inside) += canvas.At(x, y) == ring;
    EXPECT_GT(onOutline, 12);
    EXPECT_LT(onOutline, 64 - 12);
    EXPECT_EQ(0, inside);
}

} // namespace
