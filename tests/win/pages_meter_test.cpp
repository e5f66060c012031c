// The activity meter drawn into memory device contexts and checked pixel by
// pixel: cell positions, cell colours, the sunken edges, the background,
// which bar shows which level; and the meter window itself.
#include "framework/Handles.h"
#include "pages/ActivityMeter.h"
#include "pages/MeterDrawing.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Hex(COLORREF color) { return TestCanvas::Text(color); } // readable in failures

// A canvas filled with something the meter must paint over everywhere.
class Canvas : public TestCanvas {
public:
    Canvas(int width, int height) : TestCanvas(width, height) { Fill(RGB(255, 0, 255)); }
};

const COLORREF kGreen = RGB(0, 128, 0);
const COLORREF kOlive = RGB(128, 128, 0);
const COLORREF kMaroon = RGB(128, 0, 0);
const COLORREF kCellColors[10] = {kGreen, kGreen, kGreen, kGreen, kOlive, kOlive, kOlive, kMaroon, kMaroon, kMaroon};

// Where cell i of a bar lies, worked out from the meter's geometry:
// margin 2, width (barWidth - 4) / 10 - 2, placed from x = 0.
struct CellBox {
    int left, right, top, bottom;
};

CellBox Cell(int barWidth, int barTop, int barBottom, int i)
{
    int w = (barWidth - 4) / 10 - 2;
    CellBox box;
    box.left = i * (w + 2) + 2;
    box.right = box.left + w;
    box.top = barTop + 2;
    box.bottom = barBottom - 2;
    return box;
}

// Checks one bar: fill of every cell, both edges, nothing lit beyond cell 9.
void ExpectBar(const TestCanvas& canvas, int barTop, int barBottom, int level, const char* name)
{
    int lit = level / 10;
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int i = 0; i < 10; ++i) {
        CellBox c = Cell(canvas.Width(), barTop, barBottom, i);
        COLORREF fill = i < lit ? kCellColors[i] : face;
        int midY = (c.top + c.bottom) / 2;
        int midX = (c.left + c.right) / 2;
        // The sunken edge takes the outermost pixel of the cell itself.
        for (int x = c.left + 1; x <= c.right - 2; ++x)
            ASSERT_EQ(Hex(fill), Hex(canvas.At(x, midY))) << name << " level " << level << " cell " << i << " x " << x;
        for (int y = c.top + 1; y <= c.bottom - 2; ++y)
            ASSERT_EQ(Hex(fill), Hex(canvas.At(midX, y))) << name << " level " << level << " cell " << i << " y " << y;
        EXPECT_EQ(Hex(GetSysColor(COLOR_BTNSHADOW)), Hex(canvas.At(c.left - 1, midY))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_3DDKSHADOW)), Hex(canvas.At(c.left, midY))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_3DLIGHT)), Hex(canvas.At(c.right - 1, midY))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_BTNHIGHLIGHT)), Hex(canvas.At(c.right, midY))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_BTNSHADOW)), Hex(canvas.At(midX, c.top - 1))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_3DDKSHADOW)), Hex(canvas.At(midX, c.top))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_3DLIGHT)), Hex(canvas.At(midX, c.bottom - 1))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_BTNHIGHLIGHT)), Hex(canvas.At(midX, c.bottom))) << name << " cell " << i;
    }
    // Right of the last cell's edge there is only background.
    CellBox last = Cell(canvas.Width(), barTop, barBottom, 9);
    for (int x = last.right + 1; x < canvas.Width(); ++x)
        EXPECT_EQ(Hex(face), Hex(canvas.At(x, (last.top + last.bottom) / 2))) << name << " x " << x;
    EXPECT_EQ(Hex(face), Hex(canvas.At(0, (last.top + last.bottom) / 2))) << name;
}

void ExpectMeter(const TestCanvas& canvas, int levelA, int levelB)
{
    int half = canvas.Height() / 2 - 1;
    ExpectBar(canvas, 0, half, levelB, "upper bar (levelB)");
    ExpectBar(canvas, half + 2, canvas.Height(), levelA, "lower bar (levelA)");
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Between the bars' edges, and above and below them: background.
    int upperEdgeBottom = half - 2;
    int lowerEdgeTop = half + 2 + 1;
    for (int y = upperEdgeBottom + 1; y < lowerEdgeTop; ++y)
        EXPECT_EQ(Hex(face), Hex(canvas.At(40, y))) << "row " << y;
    EXPECT_EQ(Hex(face), Hex(canvas.At(40, 0)));
    EXPECT_EQ(Hex(face), Hex(canvas.At(40, canvas.Height() - 1)));
}

} // namespace

TEST(MeterDrawing, LightsLevelDividedByTenCellsOfEachBarWhateverTheSize)
{
    // Odd sizes: the integer divisions of the cell width and the half height show.
    const SIZE sizes[] = {{150, 36}, {157, 37}, {243, 22}, {64, 30}};
    const int levels[] = {0, 9, 10, 11, 35, 40, 57, 69, 70, 99, 100, 150, 100000};
    for (SIZE size : sizes) {
        for (int level : levels) {
            SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy) + ", level " + std::to_string(level));
            Canvas canvas(size.cx, size.cy);
            PaintActivityMeter(canvas.Dc(), RECT{0, 0, size.cx, size.cy}, level, 100);
            ExpectMeter(canvas, level, 100);
            Canvas swapped(size.cx, size.cy);
            PaintActivityMeter(swapped.Dc(), RECT{0, 0, size.cx, size.cy}, 0, level);
            ExpectMeter(swapped, 0, level);
        }
    }
}

TEST(MeterDrawing, CellsArePlacedFromZeroNotFromTheBarsLeftEdge)
{
    Canvas canvas(200, 20);
    DrawMeterBar(canvas.Dc(), RECT{30, 0, 180, 20}, 100);
    // Width (150 - 4) / 10 - 2 = 12: cell 0 spans 2..13 whatever the bar's left.
    EXPECT_EQ(Hex(kGreen), Hex(canvas.At(3, 10)));
    EXPECT_EQ(Hex(GetSysColor(COLOR_BTNSHADOW)), Hex(canvas.At(1, 10)));
    EXPECT_EQ(Hex(kMaroon), Hex(canvas.At(9 * 14 + 3, 10)));
}

namespace {

class MeterWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_top = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 20, 20, 300, 120, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_top);
        m_place = CreateWindowExW(0, L"Static", L"placeholder", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 152, 38,
                                  m_top, reinterpret_cast<HMENU>(1008), GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_place);
        ASSERT_TRUE(meter.Create(m_place));
    }
    void TearDown() override { DestroyWindow(m_top); }

    CActivityMeter meter;
    HWND m_top = nullptr;
    HWND m_place = nullptr;
};

} // namespace

TEST_F(MeterWindowTest, CoversThePlaceholdersClientAreaAsAPlainChild)
{
    RECT inside, meterRect;
    GetClientRect(m_place, &inside);
    GetWindowRect(meter.m_hWnd, &meterRect);
    MapWindowPoints(nullptr, m_place, reinterpret_cast<POINT*>(&meterRect), 2);
    EXPECT_TRUE(EqualRect(&inside, &meterRect));
    EXPECT_TRUE(GetWindowLongPtrW(m_place, GWL_STYLE) & WS_CLIPCHILDREN) << "the placeholder would paint over it";
    EXPECT_EQ(m_place, GetParent(meter.m_hWnd));
    EXPECT_EQ(0, GetDlgCtrlID(meter.m_hWnd));
    EXPECT_EQ(0, GetWindowTextLengthW(meter.m_hWnd));
    EXPECT_EQ(WS_CHILD | WS_VISIBLE, GetWindowLongPtrW(meter.m_hWnd, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_POPUP));
    EXPECT_EQ(0, GetWindowLongPtrW(meter.m_hWnd, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY);
    EXPECT_EQ(0u, GetClassLongPtrW(meter.m_hWnd, GCLP_HBRBACKGROUND));
    EXPECT_EQ(0u, GetClassLongPtrW(meter.m_hWnd, GCLP_HCURSOR));
    EXPECT_EQ(0u, GetClassLongPtrW(meter.m_hWnd, GCLP_HICON));
    EXPECT_EQ(0, meter.LevelA());
    EXPECT_EQ(0, meter.LevelB());
}

TEST_F(MeterWindowTest, SetLevelsRepaintsAtOnceWithoutErasing)
{
    UpdateWindow(m_top);
    meter.SetLevels(35, 71);
    EXPECT_EQ(35, meter.LevelA());
    EXPECT_EQ(71, meter.LevelB());
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(meter.m_hWnd, &pending, FALSE)) << "painted before SetLevels returned";
    EXPECT_NE(0, SendMessageW(meter.m_hWnd, WM_ERASEBKGND, 0, 0)) << "erasing is left to the painting";

    RECT client;
    GetClientRect(meter.m_hWnd, &client);
    Canvas printed(client.right, client.bottom);
    SendMessageW(meter.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Dc()), PRF_CLIENT);
    ExpectMeter(printed, 35, 71);

    // What is on the screen is the same picture.
    ExpectMeter(*CaptureClient(meter.m_hWnd), 35, 71);
}
