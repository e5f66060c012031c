// The status page against a scripted modem: what each refresh asks the
// driver and in which order, the texts, the state icon and its blinking,
// and the activity levels that drive the meter.
#include "support/FakeDeviceIo.h"
#include "pages/ActivityLevel.h"
#include "pages/ControlText.h"
#include "pages/StatusPage.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "../support/GdiObjects.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

namespace {

class StatusPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceModule(GetModuleHandleW(nullptr));
        m_parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 640, 400, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_parent);
        ScriptLineUp();
    }

    void TearDown() override
    {
        page.reset();
        DestroyWindow(m_parent);
    }

    void ScriptLineUp()
    {
        device.answerDword(0x0004, 2);
        device.answerDword(0x0206, 0);
        device.answerDword(0x0113, 5);
        device.answerDword(0x0107, 1024);
        device.answerDword(0x0103, 8000);
        device.answerDword(0x0220, 3); // annex B
        device.answerDword(0x0301, 0);
        device.answerDword(0x0381, 0);
    }

    void Open()
    {
        page = std::make_unique<CStatusPage>();
        ASSERT_TRUE(page->Create(m_parent));
        device.clearRecords();
    }

    std::wstring Text(int id) const { return GetControlText(page->m_hWnd, id); }

    std::vector<uint16_t> Commands() const
    {
        std::vector<uint16_t> commands;
        for (const FakeDeviceIo::Call& call : device.calls())
            commands.push_back(call.command);
        return commands;
    }

    HWND IconControl() const { return GetDlgItem(GetDlgItem(page->m_hWnd, IDC_STATE_ICON_PLACE), IDC_STATE_ICON_PLACE); }
    HICON ShownIcon() const { return reinterpret_cast<HICON>(SendMessageW(IconControl(), STM_GETICON, 0, 0)); }
    int ShownIconId() const { return TestIconId(ShownIcon()); }

    // The icon a refresh must show for a state, in the current blink phase.
    static int Expected(int off, int on) { return CStatusPage::GetBlinkPhase() ? on : off; }

    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    std::unique_ptr<CStatusPage> page;

private:
    HWND m_parent = nullptr;
};

} // namespace

TEST_F(StatusPageTest, CaptionsAndTheIdleIconAreSetUpBeforeTheFirstTick)
{
    Open();
    EXPECT_EQ(L"State caption", Text(IDC_CAPTION_STATE));
    EXPECT_EQ(L"Mode caption", Text(IDC_CAPTION_MODE));
    EXPECT_EQ(L"Connection caption", Text(IDC_CAPTION_CONNECTION));
    EXPECT_EQ(L"Rates caption", Text(IDC_CAPTION_RATES));
    EXPECT_EQ(L"Activity caption", Text(IDC_CAPTION_ACTIVITY));
    EXPECT_EQ(L"Up caption", Text(IDC_CAPTION_UPSTREAM));
    EXPECT_EQ(L"Down caption", Text(IDC_CAPTION_DOWNSTREAM));
    EXPECT_EQ(L"Legend caption", Text(IDC_CAPTION_LEGEND));
    EXPECT_EQ(L"", Text(IDC_METER_PLACE));
    EXPECT_TRUE(Commands().empty()) << "nothing is asked before the first tick";

    HWND icon = IconControl();
    ASSERT_NE(nullptr, icon);
    LONG_PTR style = GetWindowLongPtrW(icon, GWL_STYLE);
    EXPECT_EQ(SS_ICON, style & SS_TYPEMASK);
    EXPECT_TRUE(style & SS_CENTERIMAGE);
    EXPECT_EQ(IDI_PAGE_IDLE, ShownIconId());
    EXPECT_EQ(IDI_PAGE_IDLE, page->GetStateIconId());

    RECT place, inside;
    GetClientRect(GetDlgItem(page->m_hWnd, IDC_STATE_ICON_PLACE), &place);
    GetWindowRect(icon, &inside);
    EXPECT_EQ(place.right, inside.right - inside.left);
    EXPECT_EQ(place.bottom, inside.bottom - inside.top);
}

TEST_F(StatusPageTest, LineUpShowsRatesAndTheLineUpModeAndReadsTheCounters)
{
    Open();
    page->Refresh();
    EXPECT_EQ((std::vector<uint16_t>{0x0004, 0x0206, 0x0113, 0x0107, 0x0103, 0x0220, 0x0301, 0x0381}), Commands());
    EXPECT_EQ(L"Up", Text(IDC_STATE_TEXT));
    EXPECT_EQ(L"ADSL2+", Text(IDC_MODE_TEXT));
    EXPECT_EQ(L"1024", Text(IDC_UPSTREAM_TEXT));
    EXPECT_EQ(L"8000", Text(IDC_DOWNSTREAM_TEXT));
    EXPECT_EQ(Expected(IDI_PAGE_UP, IDI_PAGE_UP_BLINK), ShownIconId());
}

TEST_F(StatusPageTest, LineStateThreeEmptiesTheRatesAndUsesTheIdleMode)
{
    Open();
    page->Refresh(); // up first: the texts must really be emptied afterwards
    device.answerDword(0x0004, 3);
    device.clearRecords();
    page->Refresh();
    EXPECT_EQ((std::vector<uint16_t>{0x0004, 0x0206, 0x0113, 0x0107, 0x0103, 0x0220}), Commands());
    EXPECT_EQ(L"No signal", Text(IDC_STATE_TEXT));
    EXPECT_EQ(L"Multimode", Text(IDC_MODE_TEXT));
    EXPECT_EQ(L"", Text(IDC_UPSTREAM_TEXT));
    EXPECT_EQ(L"", Text(IDC_DOWNSTREAM_TEXT));
    EXPECT_EQ(Expected(IDI_PAGE_IDLE, IDI_PAGE_IDLE_BLINK), ShownIconId());
    EXPECT_EQ(0, page->GetMeter().LevelA());
    EXPECT_EQ(0, page->GetMeter().LevelB());
}

TEST_F(StatusPageTest, AnUnreachableDriverShowsTheUnavailableTextAndDarkBars)
{
    device.answerCounter(0x0301, 0, 5000);
    Open();
    page->Refresh();
    device.setDevices(false, false);
    page->Refresh();
    EXPECT_EQ(L"n/a", Text(IDC_STATE_TEXT));
    EXPECT_EQ(L"n/a", Text(IDC_MODE_TEXT));
    EXPECT_EQ(L"", Text(IDC_UPSTREAM_TEXT));
    EXPECT_EQ(L"", Text(IDC_DOWNSTREAM_TEXT));
    EXPECT_EQ(Expected(IDI_PAGE_UNREADABLE, IDI_PAGE_UNREADABLE_BLINK), ShownIconId());
    EXPECT_EQ(0, page->GetMeter().LevelA());
    EXPECT_EQ(0, page->GetMeter().LevelB());
}

TEST_F(StatusPageTest, OverLongAnswersCountAsUnreadableWithoutRaising)
{
    Open();
    device.answerBytes(0x0004, {2, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_NO_THROW(page->Refresh());
    EXPECT_EQ(L"n/a", Text(IDC_STATE_TEXT));
    EXPECT_EQ(Expected(IDI_PAGE_UNREADABLE, IDI_PAGE_UNREADABLE_BLINK), page->GetStateIconId());

    ScriptLineUp();
    device.answerBytes(0x0107, {0, 4, 0, 0, 0, 0});
    device.answerCounter(0x0301, 0, 100);
    EXPECT_NO_THROW(page->Refresh());
    EXPECT_NO_THROW(page->Refresh());
    EXPECT_EQ(L"n/a", Text(IDC_UPSTREAM_TEXT));
    EXPECT_EQ(kLowestBusyLevel, page->GetLevel301()) << "an unreadable rate counts as 0";
}

TEST_F(StatusPageTest, TheModeGetsABitmapSuffixOnlyForAnnexC)
{
    struct Case {
        uint32_t annex;
        bool bitmapAnswered;
        uint32_t bitmap;
        const wchar_t* mode;
    };
    const Case cases[] = {
        {3, true, 1, L"ADSL2+"},       // B
        {0, true, 1, L"ADSL2+"},       // A
        {7, true, 1, L"ADSL2+"},       // no letter
        {1, true, 1, L"ADSL2+ (DBM)"}, // C, dual bitmap
        {1, true, 0, L"ADSL2+ (FBM)"},
        {1, true, 2, L"ADSL2+ (FBM)"},
        {1, false, 0, L"ADSL2+ (FBM)"}, // flag unreadable
    };
    Open();
    for (const Case& c : cases) {
        device.answerDword(0x0220, c.annex);
        if (c.bitmapAnswered)
            device.answerDword(0x01F5, c.bitmap);
        else
            device.failCall(0x01F5);
        page->Refresh();
        EXPECT_EQ(c.mode, Text(IDC_MODE_TEXT)) << "annex " << c.annex << " bitmap " << c.bitmap;
    }
    device.answerDword(0x0004, 1);
    device.answerDword(0x0220, 1);
    device.answerDword(0x01F5, 1);
    device.clearRecords();
    page->Refresh();
    EXPECT_EQ(L"Multimode (DBM)", Text(IDC_MODE_TEXT)) << "the suffix does not depend on the line state";
    EXPECT_EQ((std::vector<uint16_t>{0x0004, 0x0206, 0x0113, 0x0107, 0x0103, 0x0220, 0x01F5}), Commands());
}

TEST_F(StatusPageTest, TheIconBlinksEveryTickAndTheOldIconIsReleased)
{
    Open();
    HICON previous = ShownIcon();
    for (int tick = 0; tick < 4; ++tick) {
        bool phase = CStatusPage::GetBlinkPhase();
        page->Refresh();
        EXPECT_NE(phase, CStatusPage::GetBlinkPhase()) << "tick " << tick;
        int expected = Expected(IDI_PAGE_UP, IDI_PAGE_UP_BLINK);
        EXPECT_EQ(expected, page->GetStateIconId());
        EXPECT_EQ(expected, ShownIconId());
        HICON shown = ShownIcon();
        ICONINFO info = {};
        EXPECT_FALSE(GetIconInfo(previous, &info)) << "the icon shown before must be destroyed, tick " << tick;
        previous = shown;
    }
}

TEST_F(StatusPageTest, TheBlinkPhaseIsSharedByAllPages)
{
    Open();
    CStatusPage second;
    ASSERT_TRUE(second.Create(GetParent(page->m_hWnd)));
    page->Refresh();
    bool phase = CStatusPage::GetBlinkPhase();
    second.Refresh();
    EXPECT_NE(phase, CStatusPage::GetBlinkPhase());
    EXPECT_NE(page->GetStateIconId(), second.GetStateIconId());
}

TEST_F(StatusPageTest, EachCounterIsMeasuredAgainstTheRateOfItsOwnDirection)
{
    const struct {
        const char* name;
        uint32_t rate107, rate103;               // upstream for counter 0x0301, downstream for 0x0381
        uint32_t start301, step301, step381;     // 0x0381 starts at 0
        int level301, level381;
    } cases[] = {
        {"own direction", 512, 1024, 0, 1208, 1208, 100, 50},
        {"wrapped: 0xFFFFFFF0 -> 0x10 is 32 cells, 32 * 42400 / 16000", 16, 8000, 0xFFFFFFF0u, 0x20, 0, 84, 0},
        {"any traffic lights a cell, even at rate 0", 512, 0, 0, 10, 1, 11, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        device.answerDword(0x0107, c.rate107);
        device.answerDword(0x0103, c.rate103);
        device.answerCounter(0x0301, c.start301, c.step301);
        device.answerCounter(0x0381, 0, c.step381);
        Open();
        page->Refresh();
        if (c.start301 == 0) { // nothing moved since construction
            EXPECT_EQ(0, page->GetLevel301());
            EXPECT_EQ(0, page->GetLevel381());
        }
        page->Refresh();
        EXPECT_EQ(c.level301, page->GetLevel301());
        EXPECT_EQ(c.level381, page->GetLevel381());
        EXPECT_EQ(c.level301, page->GetMeter().LevelA());
        EXPECT_EQ(c.level381, page->GetMeter().LevelB());
    }
    device.answerDword(0x0381, 1); // a counter that stands still again
    page->Refresh();
    EXPECT_EQ(0, page->GetLevel381());
}

TEST_F(StatusPageTest, CountersAreRememberedOnlyOnLineUpTicks)
{
    device.answerDword(0x0107, 512);
    device.answerDword(0x0301, 1000);
    Open();
    page->Refresh();
    device.answerDword(0x0004, 0);
    device.answerDword(0x0301, 5000); // not read while the line is down
    page->Refresh();
    EXPECT_EQ(0, page->GetLevel301());
    device.answerDword(0x0004, 2);
    device.answerDword(0x0301, 1000 + 1208);
    page->Refresh();
    EXPECT_EQ(100, page->GetLevel301());
}

TEST_F(StatusPageTest, ATimerTickRefreshesWhateverItsId)
{
    Open();
    SendMessageW(page->m_hWnd, WM_TIMER, 77, 0);
    EXPECT_EQ(L"Up", Text(IDC_STATE_TEXT));
}

TEST_F(StatusPageTest, TicksLeaveNoGdiObjectBehind)
{
    WarmUpGdi();
    device.answerCounter(0x0301, 0, 700);
    Open();
    page->Refresh();
    page->Refresh();
    int before = CountLiveGdiObjects();
    ASSERT_GT(before, 0);
    for (int tick = 0; tick < 60; ++tick) {
        if (tick == 20)
            device.answerDword(0x0004, 3);
        if (tick == 40)
            device.setDevices(false, false);
        page->Refresh();
    }
    EXPECT_EQ(before, CountLiveGdiObjects());
}

TEST(ActivityLevel, FollowsTheRateInSinglePrecisionWithoutOverflow)
{
    EXPECT_EQ(100, ActivityLevel(1208, 512)); // 100.04
    EXPECT_EQ(99, ActivityLevel(1207, 512));  // 99.95
    EXPECT_EQ(11, ActivityLevel(10, 512));
    EXPECT_EQ(11, ActivityLevel(1, 0));
    EXPECT_EQ(0, ActivityLevel(0, 0));
    EXPECT_EQ(0, ActivityLevel(0, 512));
    EXPECT_EQ(12, ActivityLevel(145, 512));   // 12.007: above 11 stays
    EXPECT_GT(ActivityLevel(0xFFFFFFFFu, 1), 100);
    EXPECT_GT(ActivityLevel(0xFFFFFFFFu, 0xFFFFFFFFu), 0);
    EXPECT_NEAR(42400, ActivityLevel(1000000, 1000), 1); // single precision: 42399
}
