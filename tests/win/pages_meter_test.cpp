// The activity meter drawn into memory device contexts and checked pixel by
// pixel: cell positions, cell colours, the sunken edges, the background,
// which bar shows which level; and the meter window itself.
#include "framework/Handles.h"
#include "pages/ActivityMeter.h"
#include "pages/MeterDrawing.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// A 32-bit top-down bitmap selected into a memory DC, read back directly.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height), m_dc(nullptr)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<uint32_t*>(bits);
        m_select = std::make_unique<SelectObjectScope>(m_dc.get(), m_bitmap.get());
        // Something the meter must paint over everywhere.
        for (int i = 0; i < width * height; ++i)
            m_bits[i] = 0x00FF00FF;
    }
    ~Canvas() { m_select.reset(); }

    HDC dc() const { return m_dc.get(); }
    COLORREF at(int x, int y) const
    {
        GdiFlush();
        uint32_t p = m_bits[y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_width;
    int m_height;
    MemoryDC m_dc;
    UniqueBitmap m_bitmap;
    uint32_t* m_bits = nullptr;
    std::unique_ptr<SelectObjectScope> m_select;
};

std::string Hex(COLORREF color)
{
    char text[16];
    snprintf(text, sizeof text, "%06lx", static_cast<unsigned long>(color));
    return text;
}

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
void ExpectBar(const Canvas& canvas, int barTop, int barBottom, int level, const char* name)
{
    int lit = level / 10;
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int i = 0; i < 10; ++i) {
        CellBox c = Cell(canvas.width(), barTop, barBottom, i);
        COLORREF fill = i < lit ? kCellColors[i] : face;
        int midY = (c.top + c.bottom) / 2;
        int midX = (c.left + c.right) / 2;
        // The sunken edge takes the outermost pixel of the cell itself.
        for (int x = c.left + 1; x <= c.right - 2; ++x)
            ASSERT_EQ(Hex(fill), Hex(canvas.at(x, midY))) << name << " level " << level << " cell " << i << " x " << x;
        for (int y = c.top + 1; y <= c.bottom - 2; ++y)
            ASSERT_EQ(Hex(fill), Hex(canvas.at(midX, y))) << name << " level " << level << " cell " << i << " y " << y;
        EXPECT_EQ(Hex(GetSysColor(COLOR_BTNSHADOW)), Hex(canvas.at(c.left - 1, midY))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_3DDKSHADOW)), Hex(canvas.at(c.left, midY))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_3DLIGHT)), Hex(canvas.at(c.right - 1, midY))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_BTNHIGHLIGHT)), Hex(canvas.at(c.right, midY))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_BTNSHADOW)), Hex(canvas.at(midX, c.top - 1))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_3DDKSHADOW)), Hex(canvas.at(midX, c.top))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_3DLIGHT)), Hex(canvas.at(midX, c.bottom - 1))) << name << " cell " << i;
        EXPECT_EQ(Hex(GetSysColor(COLOR_BTNHIGHLIGHT)), Hex(canvas.at(midX, c.bottom))) << name << " cell " << i;
    }
    // Right of the last cell's edge there is only background.
    CellBox last = Cell(canvas.width(), barTop, barBottom, 9);
    for (int x = last.right + 1; x < canvas.width(); ++x)
        EXPECT_EQ(Hex(face), Hex(canvas.at(x, (last.top + last.bottom) / 2))) << name << " x " << x;
    EXPECT_EQ(Hex(face), Hex(canvas.at(0, (last.top + last.bottom) / 2))) << name;
}

void ExpectMeter(const Canvas& canvas, int levelA, int levelB)
{
    int half = canvas.height() / 2 - 1;
    ExpectBar(canvas, 0, half, levelB, "upper bar (levelB)");
    ExpectBar(canvas, half + 2, canvas.height(), levelA, "lower bar (levelA)");
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Between the bars' edges, and above and below them: background.
    int upperEdgeBottom = half - 2;
    int lowerEdgeTop = half + 2 + 1;
    for (int y = upperEdgeBottom + 1; y < lowerEdgeTop; ++y)
        EXPECT_EQ(Hex(face), Hex(canvas.at(40, y))) << "row " << y;
    EXPECT_EQ(Hex(face), Hex(canvas.at(40, 0)));
    EXPECT_EQ(Hex(face), Hex(canvas.at(40, canvas.height() - 1)));
}

} // namespace

TEST(MeterDrawing, LightsLevelDividedByTenCellsOfEachBar)
{
    const int levels[] = {0, 9, 10, 11, 35, 40, 69, 70, 99, 100, 150, 100000};
    for (int level : levels) {
        Canvas canvas(150, 36);
        PaintActivityMeter(canvas.dc(), RECT{0, 0, 150, 36}, level, 0);
        ExpectMeter(canvas, level, 0);
        Canvas swapped(150, 36);
        PaintActivityMeter(swapped.dc(), RECT{0, 0, 150, 36}, 0, level);
        ExpectMeter(swapped, 0, level);
    }
}

TEST(MeterDrawing, GeometryFollowsTheClientSize)
{
    // Odd sizes: the integer divisions of the cell width and the half height show.
    const SIZE sizes[] = {{150, 36}, {157, 37}, {243, 22}, {64, 30}};
    for (SIZE size : sizes) {
        Canvas canvas(size.cx, size.cy);
        PaintActivityMeter(canvas.dc(), RECT{0, 0, size.cx, size.cy}, 57, 100);
        SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
        ExpectMeter(canvas, 57, 100);
    }
}

TEST(MeterDrawing, CellsArePlacedFromZeroNotFromTheBarsLeftEdge)
{
    Canvas canvas(200, 20);
    DrawMeterBar(canvas.dc(), RECT{30, 0, 180, 20}, 100);
    // Width (150 - 4) / 10 - 2 = 12: cell 0 spans 2..13 whatever the bar's left.
    EXPECT_EQ(Hex(kGreen), Hex(canvas.at(3, 10)));
    EXPECT_EQ(Hex(GetSysColor(COLOR_BTNSHADOW)), Hex(canvas.at(1, 10)));
    EXPECT_EQ(Hex(kMaroon), Hex(canvas.at(9 * 14 + 3, 10)));
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
    EXPECT_EQ(inside.left, meterRect.left);
    EXPECT_EQ(inside.top, meterRect.top);
    EXPECT_EQ(inside.right, meterRect.right);
    EXPECT_EQ(inside.bottom, meterRect.bottom);
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
    SendMessageW(meter.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()), PRF_CLIENT);
    ExpectMeter(printed, 35, 71);

    // What is on the screen is the same picture.
    Canvas screen(client.right, client.bottom);
    ClientDC window(meter.m_hWnd);
    BitBlt(screen.dc(), 0, 0, client.right, client.bottom, window.get(), 0, 0, SRCCOPY);
    ExpectMeter(screen, 35, 71);
}

TEST_F(MeterWindowTest, ThePlaceholderDoesNotPaintOverTheMeter)
{
    EXPECT_TRUE(GetWindowLongPtrW(m_place, GWL_STYLE) & WS_CLIPCHILDREN);
}
