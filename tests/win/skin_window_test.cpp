// The skinned window's logic against a scripted modem: construction, the
// poll of each page, which rows are redrawn, the page and focus state
// machines, the keys and the drag.
#include "skin/PageIndicator.h"
#include "skin/SkinMainWnd.h"

#include "settings/XVuk.h"

#include "skin_test_support.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>

using namespace skintest;

namespace {

class SkinWindowTest : public SkinTest {
protected:
    std::unique_ptr<CSkinMainWnd> Open()
    {
        auto window = std::make_unique<CSkinMainWnd>(app);
        window->SetDrawRecorder(&recorder);
        return window;
    }
    static void Command(CSkinMainWnd& window, UINT id)
    {
        SendMessageW(window.m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    static void Key(CSkinMainWnd& window, UINT key)
    {
        SendMessageW(window.m_hWnd, WM_KEYDOWN, key, 0);
        SendMessageW(window.m_hWnd, WM_KEYUP, key, 0);
    }

    Recorder recorder;
};

TEST_F(SkinWindowTest, OpensAsRoundedPopupOfTheProgramClassAtItsPlace)
{
    auto window = Open();
    HWND hwnd = window->m_hWnd;
    ASSERT_TRUE(IsWindow(hwnd));

    RECT rect;
    GetWindowRect(hwnd, &rect);
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 200);
    EXPECT_EQ(rect.right - rect.left, 388);
    EXPECT_EQ(rect.bottom - rect.top, 263);

    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_BORDER | WS_THICKFRAME), WS_POPUP | WS_VISIBLE);
    wchar_t text[128] = {};
    GetClassNameW(hwnd, text, 128);
    EXPECT_STREQ(text, kProgramWindowClass);
    GetWindowTextW(hwnd, text, 128);
    EXPECT_STREQ(text, L"Skin Test Monitor");

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 387, 262));
    EXPECT_FALSE(PtInRegion(region, 2, 260));
    EXPECT_TRUE(PtInRegion(region, 194, 131));
    EXPECT_TRUE(PtInRegion(region, 15, 1));
    EXPECT_TRUE(PtInRegion(region, 1, 131));
    DeleteObject(region);

    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);

    EXPECT_EQ(window->GetPage(), 0);
    EXPECT_EQ(window->GetFocus(), 3);
    EXPECT_TRUE(window->GetButton(0).IsDisabled());
    for (int i = 1; i < 4; ++i)
        EXPECT_FALSE(window->GetButton(i).IsDisabled()) << i;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(window->GetButton(i).IsFocused(), i == 3) << i;
    EXPECT_NE(window->GetPalette(), nullptr);
    EXPECT_EQ(window->GetValue(1, 2), "4.2.4");
    EXPECT_EQ(window->GetLabel(0, 2), L"Down label");
    EXPECT_EQ(window->GetLabel(0, 3), L"Up label");
    EXPECT_EQ(window->GetLabel(1, 0), L"Package label");
}

TEST_F(SkinWindowTest, ButtonsAreChildWindowsAtTheirPlacesWithTheirIds)
{
    auto window = Open();
    const struct { int x, y, side; UINT id; } places[4] = {
        {25, 200, 18, 103}, {54, 200, 18, 104}, {332, 19, 17, 106}, {352, 19, 17, 105}};
    for (int i = 0; i < 4; ++i) {
        HWND button = window->GetButton(i).m_hWnd;
        ASSERT_TRUE(IsWindow(button));
        EXPECT_EQ(GetParent(button), window->m_hWnd);
        EXPECT_EQ(UINT(GetDlgCtrlID(button)), places[i].id);
        RECT rect;
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, window->m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, places[i].x) << i;
        EXPECT_EQ(rect.top, places[i].y) << i;
        EXPECT_EQ(rect.right - rect.left, places[i].side) << i;
        EXPECT_EQ(rect.bottom - rect.top, places[i].side) << i;
        EXPECT_EQ(SendMessageW(window->GetButton(i).GetTooltip(), TTM_GETTOOLCOUNT, 0, 0), 1) << i;
    }
}

TEST_F(SkinWindowTest, FontFollowsTheJapaneseRuleExactly)
{
    struct Case {
        const char* language;
        LONG height;
        const wchar_t* face;
    } cases[] = {{"english", 8, L"MS Sans Serif"}, {"japanese", 14, L""}, {"Japanese", 8, L"MS Sans Serif"},
                 {"", 8, L"MS Sans Serif"}};
    for (const Case& c : cases) {
        app.language = c.language;
        auto window = Open();
        LOGFONTW font = {};
        ASSERT_EQ(GetObjectW(window->GetFont(), sizeof font, &font), int(sizeof font));
        EXPECT_EQ(font.lfHeight, c.height) << c.language;
        EXPECT_STREQ(font.lfFaceName, c.face) << c.language;
        EXPECT_EQ(font.lfWeight, 400);
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(font.lfPitchAndFamily, FF_SWISS | DEFAULT_PITCH);
        EXPECT_GT(window->GetLineHeight(), 0);
    }
}

TEST_F(SkinWindowTest, PageZeroShowsStateModeAndRatesOnlyWhileUp)
{
    const struct { const char* what; uint32_t state; bool fail; const char* rows[4]; int light; } cases[] = {
        {"up", 2, false, {"Up", "ADSL2+", "8128 kbps", "864 kbps"}, CActivityBars::kLightConnected},
        {"no signal", 3, false, {"No signal", "Multimode", "0 kbps", "0 kbps"}, CActivityBars::kLightDown},
        {"unreadable", 0, true, {"n/a", "Multimode", "0 kbps", "0 kbps"}, CActivityBars::kLightUnreadable},
    };
    for (const auto& c : cases) {
        if (c.fail)
            device.failCall(0x0004);
        else
            device.answerDword(0x0004, c.state);
        auto window = Open();
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(window->GetValue(0, row), c.rows[row]) << c.what << ", row " << row;
        EXPECT_EQ(window->GetActivity().m_nLightImage, c.light) << c.what;
    }
}

TEST_F(SkinWindowTest, OverlongLineStateCountsAsNotUpWithoutRaising)
{
    auto window = Open();
    // An eight-byte answer to the line state must not open an error box every second.
    device.answerBytes(0x0004, {2, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_NO_THROW(window->Refresh());
    EXPECT_EQ(window->GetValue(0, 3), "0 kbps");
    EXPECT_EQ(window->GetActivity().m_nLightImage, CActivityBars::kLightUnreadable);
}

TEST_F(SkinWindowTest, AnnexCAppendsTheBitmapMode)
{
    auto window = Open();
    const struct { uint32_t annex, dual; bool failAnnex; const char* mode; } cases[] = {
        {1, 1, false, "ADSL2+ (DBM)"}, {1, 0, false, "ADSL2+ (FBM)"}, {3, 1, false, "ADSL2+"}, {1, 1, true, "ADSL2+"}};
    for (const auto& c : cases) {
        device.answerDword(0x0220, c.annex); // 1 is C, 3 is B
        device.answerDword(0x01F5, c.dual);
        if (c.failAnnex)
            device.failCall(0x0220);
        window->Refresh();
        EXPECT_EQ(window->GetValue(0, 1), c.mode) << "annex " << c.annex << ", dual " << c.dual << ", failed " << c.failAnnex;
    }
}

TEST_F(SkinWindowTest, APollRedrawsOnlyTheRowsWhoseTextChanged)
{
    auto window = Open();
    recorder.items.clear();
    window->Refresh();
    EXPECT_EQ(recorder.Count(Drawn::Value), 0u);
    EXPECT_EQ(recorder.Count(Drawn::Label), 0u);
    EXPECT_EQ(recorder.Count(Drawn::Title), 0u);
    EXPECT_EQ(recorder.Count(Drawn::Activity), 1u); // the bars and the light: every poll

    device.answerDword(0x0103, 7000);
    recorder.items.clear();
    window->Refresh();
    EXPECT_EQ(recorder.ValueRows(), std::vector<int>{2});
    EXPECT_EQ(window->GetValue(0, 2), "7000 kbps");

    // The line drops: state, both rates and the mode change.
    device.answerDword(0x0004, 0);
    recorder.items.clear();
    window->Refresh();
    EXPECT_EQ(recorder.ValueRows(), (std::vector<int>{0, 3, 2, 1}));
}

TEST_F(SkinWindowTest, PreviousOnPageZeroAndNextOnPageOneChangeAndDrawNothing)
{
    auto window = Open();
    recorder.items.clear();
    size_t callsBefore = device.calls().size();
    Command(*window, 103);
    EXPECT_EQ(window->GetPage(), 0);
    EXPECT_TRUE(recorder.items.empty());
    EXPECT_EQ(device.calls().size(), callsBefore);

    Command(*window, 104);
    EXPECT_EQ(window->GetPage(), 1);
    EXPECT_FALSE(window->GetButton(0).IsDisabled());
    EXPECT_TRUE(window->GetButton(1).IsDisabled());
    // The whole page is drawn once, then the poll fills in the rows that changed.
    EXPECT_EQ(recorder.Count(Drawn::Title), 1u);
    EXPECT_EQ(recorder.Count(Drawn::Label), 4u);
    EXPECT_EQ(recorder.items.front().kind, Drawn::Title);
    EXPECT_EQ(recorder.items.front().row, 1);
    EXPECT_EQ(recorder.lastIndicator, L"%s%n 2/2 %d 100%");

    recorder.items.clear();
    callsBefore = device.calls().size();
    Command(*window, 104);
    EXPECT_EQ(window->GetPage(), 1);
    EXPECT_TRUE(recorder.items.empty());
    EXPECT_EQ(device.calls().size(), callsBefore);

    Command(*window, 103);
    EXPECT_EQ(window->GetPage(), 0);
    EXPECT_TRUE(window->GetButton(0).IsDisabled());
    EXPECT_FALSE(window->GetButton(1).IsDisabled());
    EXPECT_EQ(recorder.lastIndicator, L"%s%n 1/2 %d 100%");
}

TEST_F(SkinWindowTest, PageOneShowsPackageDriverProgramAndFirmwareTexts)
{
    auto window = Open();
    Command(*window, 104);
    EXPECT_EQ(window->GetValue(1, 0), "Pkg 2.5.1");
    EXPECT_EQ(window->GetValue(1, 1), "Driver 7.1");
    EXPECT_EQ(window->GetValue(1, 2), "4.2.4");
    EXPECT_EQ(window->GetValue(1, 3), "FW 3.33");

    // Page 0's rows keep their last texts while page 1 is shown, and page 1
    // polls only its own fields besides the three every poll reads.
    device.answerDword(0x0103, 1);
    device.clearRecords();
    window->Refresh();
    EXPECT_EQ(window->GetValue(0, 2), "8128 kbps");
    EXPECT_EQ(device.callCount(0x0206), 0u);
    EXPECT_EQ(device.callCount(0x0113), 0u);
    EXPECT_EQ(device.callCount(0x0004), 1u);
    EXPECT_EQ(device.callCount(0x0103), 1u);
    EXPECT_EQ(device.callCount(0x0107), 1u);
    EXPECT_EQ(device.callCount(0x0001), 1u);
}

TEST_F(SkinWindowTest, TabAndShiftTabMoveTheFocusRingWrapRepaintAndPoll)
{
    auto window = Open();
    recorder.items.clear();
    const size_t callsBefore = device.callCount(0x0004);
    Key(*window, VK_TAB);
    EXPECT_EQ(window->GetFocus(), 0);
    EXPECT_TRUE(window->GetButton(0).IsFocused());
    EXPECT_FALSE(window->GetButton(3).IsFocused());
    // A focus move repaints the whole page and polls.
    EXPECT_EQ(recorder.Count(Drawn::Title), 1u);
    EXPECT_EQ(recorder.Count(Drawn::Label), 4u);
    EXPECT_EQ(recorder.Count(Drawn::Activity), 1u);
    EXPECT_EQ(device.callCount(0x0004), callsBefore + 1);
    for (int expected : {3, 2}) {
        HeldKeys shift(true, false);
        Key(*window, VK_TAB);
        EXPECT_EQ(window->GetFocus(), expected);
    }
    // Disabled buttons are not skipped.
    for (int i = 0; i < 2; ++i)
        Key(*window, VK_TAB);
    EXPECT_EQ(window->GetFocus(), 0);
    EXPECT_TRUE(window->GetButton(0).IsDisabled());
    int focused = 0;
    for (int i = 0; i < 4; ++i)
        focused += window->GetButton(i).IsFocused();
    EXPECT_EQ(focused, 1);
}

// Enter or Space right after the start press the focused close button; Escape closes too.
TEST_F(SkinWindowTest, EnterSpaceOrEscapeRightAfterStartCloseTheWindow)
{
    for (UINT key : {UINT(VK_RETURN), UINT(VK_SPACE), UINT(VK_ESCAPE)}) {
        SCOPED_TRACE(key);
        app.stopDebugCalls = 0;
        auto window = Open();
        HWND hwnd = window->m_hWnd;
        SendMessageW(hwnd, WM_KEYDOWN, key, 0);
        EXPECT_EQ(window->GetButton(3).IsPressed(), key != VK_ESCAPE);
        SendMessageW(hwnd, WM_KEYUP, key, 0);
        PumpMessages();
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(app.stopDebugCalls, 1);
        EXPECT_FALSE(window->IsWindow());
    }
}

TEST_F(SkinWindowTest, EnterOnTheDisabledPreviousButtonDoesNothingAndOnNextTurnsThePage)
{
    auto window = Open();
    Key(*window, VK_TAB); // focus on button 0, disabled on page 0
    recorder.items.clear();
    Key(*window, VK_RETURN);
    PumpMessages();
    EXPECT_TRUE(window->IsWindow());
    EXPECT_EQ(window->GetPage(), 0);
    EXPECT_TRUE(recorder.items.empty());

    Key(*window, VK_TAB); // button 1, next page
    Key(*window, VK_RETURN);
    PumpMessages();
    EXPECT_EQ(window->GetPage(), 1);
}

TEST_F(SkinWindowTest, OnlyCtrlShiftLAsksForTheDebugLog)
{
    auto window = Open();
    Key(*window, 'L');
    {
        HeldKeys control(false, true);
        Key(*window, 'L');
    }
    EXPECT_EQ(app.debugLogCalls, 0);
    {
        HeldKeys both(true, true);
        Key(*window, 'L');
    }
    EXPECT_EQ(app.debugLogCalls, 1);
    EXPECT_TRUE(IsWindow(window->m_hWnd));
}

TEST_F(SkinWindowTest, MinimiseCommandMinimisesAndOnlyThePollTimerPolls)
{
    auto window = Open();
    Command(*window, 106);
    EXPECT_TRUE(IsIconic(window->m_hWnd));
    // Polls while minimised draw nothing on screen and do not fail.
    EXPECT_NO_THROW(window->Refresh());
    const size_t before = device.callCount(0x0004);
    SendMessageW(window->m_hWnd, WM_TIMER, CSkinMainWnd::kPollTimer, 0);
    EXPECT_EQ(device.callCount(0x0004), before + 1);
    SendMessageW(window->m_hWnd, WM_TIMER, 77, 0);
    EXPECT_EQ(device.callCount(0x0004), before + 1);
}

TEST_F(SkinWindowTest, APressOnTheFaceStartsACaptionDrag)
{
    auto window = Open();
    HWND hwnd = window->m_hWnd;
    PumpMessages();
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 230));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(message.wParam, WPARAM(HTCAPTION));
    EXPECT_EQ(GET_X_LPARAM(message.lParam), 120);
    EXPECT_EQ(GET_Y_LPARAM(message.lParam), 230);
}

TEST_F(SkinWindowTest, ActivityFollowsTheCountersAgainstTheirOwnRates)
{
    device.answerDword(0x0107, 1000); // upstream rate, upper bar
    device.answerDword(0x0103, 8000); // downstream rate, lower bar
    device.answerCounter(0x0301, 0, 1000); // 1000 cells a poll: 424 kbit against 1000 kbit/s
    device.answerCounter(0x0381, 0, 0);
    auto window = Open();
    // The first connected poll measures against 0.
    const CActivityBars& activity = window->GetActivity();
    EXPECT_EQ(activity.m_nUpperLevel, 0); // the counter's first reading is 0: nothing moved
    recorder.items.clear();
    window->Refresh();
    EXPECT_EQ(activity.m_nUpperLevel, 42);
    EXPECT_EQ(activity.m_nLowerLevel, 0);
    EXPECT_EQ(activity.m_nLightImage, CActivityBars::kLightConnected);
    auto drawn = std::find_if(recorder.items.begin(), recorder.items.end(),
                              [](const Drawn& item) { return item.kind == Drawn::Activity; });
    ASSERT_NE(drawn, recorder.items.end());
    EXPECT_EQ(drawn->upper, 42);
    EXPECT_EQ(drawn->light, 0);
}

TEST_F(SkinWindowTest, ColourKeysAreReadAnewForEveryRow)
{
    auto window = Open();
    const RECT row = window->ValueRect(0);
    auto countColour = [&](COLORREF colour) {
        auto canvas = FilledCanvas();
        window->PaintContent(canvas->Dc());
        return CountColour(*canvas, row, colour);
    };
    EXPECT_GT(countColour(RGB(255, 255, 0)), 0);
    WriteSettings({"StatusTextRGB=255,0,128"});
    EXPECT_EQ(countColour(RGB(255, 255, 0)), 0);
    EXPECT_GT(countColour(RGB(255, 0, 128)), 0);
}

TEST_F(SkinWindowTest, DestroyingTheObjectDestroysTheWindowAndItsButtons)
{
    auto window = Open();
    HWND hwnd = window->m_hWnd;
    HWND button = window->GetButton(2).m_hWnd;
    HWND tooltip = window->GetButton(2).GetTooltip();
    window.reset();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(button));
    EXPECT_FALSE(IsWindow(tooltip));
}

TEST_F(SkinWindowTest, MissingPiecesRaiseFromTheConstructor)
{
    std::remove(ProgramFile("LogoSkin.bmp").c_str());
    EXPECT_THROW(CSkinMainWnd window(app), XVuk);
    WriteLogo();
    std::remove(ProgramFile("Modavi.ini").c_str());
    EXPECT_THROW(CSkinMainWnd window(app), XVuk);
    // Nothing is left behind by a construction that failed.
    HWND left = FindWindowW(kProgramWindowClass, L"Skin Test Monitor");
    EXPECT_EQ(left, nullptr);
}

TEST(PageIndicatorTest, FillsOnlyTwoDecimalConversionsAndPercentSigns)
{
    EXPECT_EQ(FormatPageIndicator(L"Page %d of %d", 1, 2), L"Page 1 of 2");
    EXPECT_EQ(FormatPageIndicator(L"%d/%d", 2, 2), L"2/2");
    EXPECT_EQ(FormatPageIndicator(L"100%% %d", 1, 2), L"100% 1");
    EXPECT_EQ(FormatPageIndicator(L"%s %n %x %d %d %d", 1, 2), L"%s %n %x 1 2 %d");
    EXPECT_EQ(FormatPageIndicator(L"end %", 1, 2), L"end %");
    EXPECT_EQ(FormatPageIndicator(L"", 1, 2), L"");
    EXPECT_EQ(FormatPageIndicator(L"\u30DA\u30FC\u30B8 %d / %d", 1, 2), L"\u30DA\u30FC\u30B8 1 / 2");
    EXPECT_EQ(FormatPageIndicator(L"%5d|%-d", 1, 2), L"%5d|%-d");
}

} // namespace
