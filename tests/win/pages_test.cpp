// The classic dialog's pages against a scripted modem: the status page's
// reads, texts, blinking state icon and activity meter, the meter's picture,
// and the version page.
#include "driver/VirtualCommands.h"
#include "framework/Dpi.h"
#include "support/FakeDeviceIo.h"
#include "pages/ControlText.h"
#include "pages/HistoryGraph.h"
#include "pages/MeterDrawing.h"
#include "pages/StatusPage.h"
#include "pages/VersionPage.h"
#include "settings/ResourceIds.h"
#include "../support/GdiObjects.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

namespace {

// The colour in the middle of each cell of the meter, the upper bar's ten first.
std::vector<COLORREF> CellColours(const TestCanvas& c)
{
    const int half = c.Height() / 2 - 1, width = (c.Width() - 4) / 10 - 2;
    std::vector<COLORREF> colours;
    for (int y : {half / 2, (half + 2 + c.Height()) / 2})
        for (int i = 0; i < 10; ++i)
            colours.push_back(c.At(i * (width + 2) + 2 + width / 2, y));
    return colours;
}

// What the meter must show: level / 10 cells lit green, olive, maroon from the left.
std::vector<COLORREF> ExpectedCells(int upperLevel, int lowerLevel)
{
    const COLORREF g = RGB(0, 128, 0), o = RGB(128, 128, 0), m = RGB(128, 0, 0), lit[10] = {g, g, g, g, o, o, o, m, m, m};
    std::vector<COLORREF> colours;
    for (int level : {upperLevel, lowerLevel})
        for (int i = 0; i < 10; ++i)
            colours.push_back(i < level / 10 ? lit[i] : GetSysColor(COLOR_BTNFACE));
    return colours;
}

// The state icon a shown status page has on the screen, by the test icons'
// colours: red is (id - 1000) * 20.
int StateIconId(HWND page)
{
    UpdateWindow(page);
    const auto shown = CaptureClient(GetWindow(GetDlgItem(page, IDC_STATE_ICON_PLACE), GW_CHILD));
    return 1000 + GetRValue(shown->At(shown->Width() / 2, shown->Height() / 2)) / 20;
}

HWND Parent()
{
    static HWND parent =
        CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 400, nullptr, nullptr, nullptr, nullptr);
    return parent;
}

class StatusPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (auto [command, value] : {std::pair{0x0004, 2}, {0x0206, 0}, {0x0113, 5}, {0x0107, 1024}, {0x0103, 8000},
                                      {0x0220, 3} /* annex B */, {0x0301, 0}, {0x0381, 0}})
            device.answerDword(command, value);
        ASSERT_TRUE(page.Create(Parent()));
        ShowWindow(page.m_hWnd, SW_SHOW);
    }
    std::wstring Text(int id) const { return GetControlText(page.m_hWnd, id); }
    HWND MeterWindow() const { return GetWindow(GetDlgItem(page.m_hWnd, IDC_METER_PLACE), GW_CHILD); }
    // The meter's cells as the screen shows them.
    std::vector<COLORREF> Meter() const { return CellColours(*CaptureClient(MeterWindow())); }
    // How many pixels of the meter on the screen, changed cell by cell,
    // differ from the meter painted whole (as a print paints it).
    int MeterPixelsUnlikeWhole() const
    {
        const auto shown = CaptureClient(MeterWindow());
        TestCanvas whole(shown->Width(), shown->Height());
        SendMessageW(MeterWindow(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(whole.Dc()), PRF_CLIENT);
        int differ = 0;
        for (int y = 0; y < whole.Height(); ++y)
            for (int x = 0; x < whole.Width(); ++x)
                differ += shown->At(x, y) != whole.At(x, y);
        return differ;
    }

    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    CStatusPage page;
};

TEST_F(StatusPage, ShowsStateModeAndIconAndRatesAndActivityOnlyWithTheLineUp)
{
    const std::vector<uint16_t> up = {0x0004, 0x0206, 0x0113, 0x0107, 0x0103, 0x0220, 0x0301, 0x0381};
    const std::vector<uint16_t> down(up.begin(), up.begin() + 6);
    const std::vector<uint16_t> annexC = {0x0004, 0x0206, 0x0113, 0x0107, 0x0103, 0x0220, 0x01F5, 0x0301, 0x0381};
    const struct {
        std::function<void()> script;
        std::vector<uint16_t> commands;
        const wchar_t *state, *mode, *upstream, *downstream;
        int icon;        // without its blink
        int upper, lower; // activity levels shown: counter 0x0381 against 0x0103, 0x0301 against 0x0107
    } ticks[] = {
        {[] {}, up, L"Up", L"ADSL2+", L"1024", L"8000", IDI_PAGE_UP, 0, 0},
        // 6000 cells of 53 bytes a tick: 31.8% of 8000 kbit/s down, 248% of 1024 up.
        {[&] { device.answerCounter(0x0301, 6000, 6000); device.answerCounter(0x0381, 6000, 6000); },
         up, L"Up", L"ADSL2+", L"1024", L"8000", IDI_PAGE_UP, 31, 248},
        {[&] { device.answerDword(0x0004, 3); }, down, L"No signal", L"Multimode", L"", L"", IDI_PAGE_IDLE, 0, 0},
        {[&] { device.setDevices(false, false); }, {}, L"n/a", L"n/a", L"", L"", IDI_PAGE_UNREADABLE, 0, 0},
        {[&] { device.setDevices(true, true); device.answerBytes(0x0004, {2, 0, 0, 0, 0, 0, 0, 0}); }, // over-long
         down, L"n/a", L"Multimode", L"", L"", IDI_PAGE_UNREADABLE, 0, 0},
        // Annex C: the mode tells a full bitmap (also when the flag is unreadable) from a dual one.
        {[&] { device.answerDword(0x0004, 2); device.answerDword(0x0220, 1); device.failCall(0x01F5);
               device.answerBytes(0x0107, {0, 4, 0, 0, 0, 0}); }, // an unreadable rate counts as 0: any traffic shows
         annexC, L"Up", L"ADSL2+ (FBM)", L"n/a", L"8000", IDI_PAGE_UP, 31, 11},
        {[&] { device.answerDword(0x0004, 1); device.answerDword(0x01F5, 1); }, {annexC.begin(), annexC.end() - 2},
         L"Training", L"Multimode (DBM)", L"", L"", IDI_PAGE_IDLE, 0, 0},
    };
    for (const auto& tick : ticks) {
        tick.script();
        device.clearRecords();
        EXPECT_NO_THROW(SendMessageW(page.m_hWnd, WM_TIMER, 77, 0));
        std::vector<uint16_t> commands;
        for (const FakeDeviceIo::Call& call : device.calls())
            commands.push_back(call.command);
        EXPECT_EQ(tick.commands, commands) << tick.state;
        EXPECT_EQ(std::vector<std::wstring>({tick.state, tick.mode, tick.upstream, tick.downstream}),
                  std::vector<std::wstring>({Text(IDC_STATE_TEXT), Text(IDC_MODE_TEXT), Text(IDC_UPSTREAM_TEXT),
                                             Text(IDC_DOWNSTREAM_TEXT)}));
        const int shown = StateIconId(page.m_hWnd);
        EXPECT_EQ(tick.icon, shown - (shown - IDI_PAGE_IDLE) % 2) << tick.state;
        EXPECT_EQ(ExpectedCells(tick.upper, tick.lower), Meter()) << tick.state;
        EXPECT_EQ(0, MeterPixelsUnlikeWhole()) << tick.state;
    }
    // At other scales the cells keep their margins and edges in proportion:
    // the first cell's colour begins past its margin (2 pixels at 96 DPI) and its edge (1).
    for (unsigned dpi : {96u, 144u, 192u}) {
        TestCanvas meter(Dpi::Scale(200, dpi), Dpi::Scale(30, dpi));
        PaintActivityMeter(meter.Dc(), {0, 0, meter.Width(), meter.Height()}, 100, 100, dpi);
        int x = 0;
        while (x < meter.Width() && meter.At(x, meter.Height() / 4) != RGB(0, 128, 0))
            ++x;
        EXPECT_EQ(Dpi::Scale(2, dpi) + Dpi::Scale(1, dpi), x) << dpi;
    }
}

TEST_F(StatusPage, StartsIdleAndItsIconBlinksEveryTickInOnePhaseForAllPages)
{
    EXPECT_EQ(L"Legend caption", Text(IDC_CAPTION_LEGEND));
    EXPECT_EQ(IDI_PAGE_IDLE, StateIconId(page.m_hWnd));
    EXPECT_TRUE(device.calls().empty()) << "nothing is asked before the first tick";
    std::vector<int> shown;
    for (int tick = 0; tick < 4; ++tick) {
        page.Refresh();
        shown.push_back(StateIconId(page.m_hWnd));
    }
    const int live = CountLiveGdiObjects(); // the icons are loaded once, not every tick
    for (int tick = 0; tick < 20; ++tick)
        page.Refresh();
    EXPECT_EQ(live, CountLiveGdiObjects());
    const int other = shown[0] == IDI_PAGE_UP ? IDI_PAGE_UP_BLINK : IDI_PAGE_UP;
    EXPECT_EQ((std::vector<int>{shown[0], other, shown[0], other}), shown);

    CStatusPage second;
    ASSERT_TRUE(second.Create(Parent()));
    second.Refresh();
    page.Refresh();
    ShowWindow(page.m_hWnd, SW_HIDE);
    ShowWindow(second.m_hWnd, SW_SHOW);
    const int secondShows = StateIconId(second.m_hWnd);
    ShowWindow(second.m_hWnd, SW_HIDE);
    ShowWindow(page.m_hWnd, SW_SHOW);
    EXPECT_NE(secondShows, StateIconId(page.m_hWnd));
}

TEST(VersionPage, ShowsTheProgramsVersionAtOnceAndTheDriversFromTheFirstTick)
{
    FakeDeviceIo device;
    ScopedDeviceIo use(device);
    CVersionPage page;
    ASSERT_TRUE(page.Create(Parent()));
    auto text = [&](int id) { return GetControlText(page.m_hWnd, id); };
    const std::wstring program(kProgramVersionText, kProgramVersionText + strlen(kProgramVersionText));
    EXPECT_EQ(std::vector<std::wstring>({L"Driver caption", program, L""}),
              std::vector<std::wstring>({text(IDC_CAPTION_DRIVER), text(IDC_PROGRAM_VERSION), text(IDC_DRIVER_VERSION)}));
    EXPECT_TRUE(device.calls().empty());
    const struct { std::function<void()> script; const wchar_t* shown; } ticks[] = {
        {[&] { device.answerText(0x0001, "Vuk ADSL driver 3.10.7 \xd0\x90"); }, L"Vuk ADSL driver 3.10.7 \x0410"},
        {[&] { device.answerText(0x0001, ""); }, L""},
        {[&] { device.answerText(0x0001, "refused", 5); }, L"no version"},
        {[&] { device.answerText(0x0001, "back"); device.setDevices(false, false); }, L"no version"},
    };
    for (const auto& tick : ticks) {
        tick.script();
        SendMessageW(page.m_hWnd, WM_TIMER, 5, 0);
        EXPECT_EQ(std::make_pair(std::wstring(tick.shown), program),
                  std::make_pair(text(IDC_DRIVER_VERSION), text(IDC_PROGRAM_VERSION)));
    }
}

// Ten pixels an hour: ten hours ago the line came up, Modavi did not run
// from 7.5 to 7 hours ago, the line was down from five hours ago for an
// hour, then up again, and the PC slept from 90 to 30 minutes ago; before
// that nothing is known.
TEST(HistoryGraph, GreysTheUnknownShadesTheOutageAndTheSleepAndDrawsBothRatesOnlyWhileUpAndMarksLocalHours)
{
    const int64_t now = 1796558400; // 12:00 UTC: the marks at x 60, 120 and 180
    std::vector<DiaryRecord> records;
    for (int minute = -600; minute < 0; ++minute) {
        const DiaryEvent event = minute == -600 || minute == -240 || minute == -29 ? DiaryEvent::Up
                                 : minute == -300                                  ? DiaryEvent::Down
                                 : minute == -90                                   ? DiaryEvent::Sleep
                                 : minute == -30                                   ? DiaryEvent::Wake
                                                                                   : DiaryEvent::Rate;
        const bool none = (minute >= -300 && minute < -240) || (minute >= -90 && minute <= -30);
        if ((minute > -90 && minute < -30) || (minute > -450 && minute < -420))
            continue;
        records.push_back({{now + minute * 60, 0}, event, none ? std::nullopt : std::optional<uint32_t>(8000),
                           none ? std::nullopt : std::optional<uint32_t>(800)});
    }
    TestCanvas canvas(240, 80);
    DrawHistoryGraph(canvas.Dc(), {0, 0, 240, 80}, records, {now, 0}, 120);
    auto column = [&](int x) {
        std::string seen;
        for (int y = 1; y < 65; ++y)
            seen += canvas.At(x, y) == RGB(0, 70, 200) ? 'D' : canvas.At(x, y) == RGB(0, 150, 60) ? 'U' : '.';
        return std::string(seen.find('D') != seen.npos ? "D" : "") + (seen.find('U') != seen.npos ? "U" : "");
    };
    const struct { int x; COLORREF background; const char* rates; } columns[] = {
        {100, RGB(224, 224, 224), ""}, {160, GetSysColor(COLOR_WINDOW), "DU"}, {167, RGB(224, 224, 224), ""},
        {195, RGB(255, 196, 196), ""},
        {220, GetSysColor(COLOR_WINDOW), "DU"}, {230, RGB(214, 206, 250), ""}, {237, GetSysColor(COLOR_WINDOW), "DU"}};
    for (const auto& c : columns) {
        EXPECT_EQ(TestCanvas::Text(c.background), TestCanvas::Text(canvas.At(c.x, 30))) << "x " << c.x;
        EXPECT_EQ(c.rates, column(c.x)) << "x " << c.x;
    }
    for (int x : {60, 120, 180}) { // the dotted lines of the marks
        int dots = 0;
        for (int y = 1; y < 65; ++y)
            dots += canvas.At(x, y) == RGB(200, 200, 200);
        EXPECT_GT(dots, 20) << "x " << x;
    }
    // Away from UTC the marks follow the local clock: at 12:00 UTC in India (+05:30) and in
    // Newfoundland (-03:30) the axis is that of 17:30 and of 08:30 in London in winter.
    for (int offset : {330, -210}) {
        TestCanvas away(240, 80), london(240, 80);
        DrawHistoryGraph(away.Dc(), {0, 0, 240, 80}, {}, {now, offset}, 120);
        DrawHistoryGraph(london.Dc(), {0, 0, 240, 80}, {}, {now + offset * 60, 0}, 120);
        int unlike = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 240; ++x)
                unlike += away.At(x, y) != london.At(x, y);
        EXPECT_EQ(0, unlike) << offset;
    }
    // At 200 % the band of the hour marks and the rates' lines are twice as high.
    TestCanvas fine(240, 80);
    DrawHistoryGraph(fine.Dc(), {0, 0, 240, 80}, records, {now, 0}, 120, 192);
    auto downstreamPixels = [](const TestCanvas& graph) {
        int n = 0;
        for (int y = 0; y < 80; ++y)
            n += graph.At(160, y) == RGB(0, 70, 200);
        return n;
    };
    for (const auto& [graph, frameRow, line] : {std::tuple{&canvas, 65, 2}, std::tuple{&fine, 51, 4}}) {
        EXPECT_EQ(RGB(128, 128, 128), graph->At(30, frameRow)) << frameRow;
        EXPECT_EQ(line, downstreamPixels(*graph)) << frameRow;
    }
}

} // namespace
