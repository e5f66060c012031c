// The skinned window against a scripted modem, seen through what it draws
// (the drawing recorder), window messages and whole pictures compared with
// ones composed here from the same bitmaps: the rows of each page and which
// are redrawn, pages, keys, the buttons' states and pictures, the bars and
// the light, colourising and text colours, and handles and GDI objects over
// an hour of accelerated polls.
#include "app/AppServices.h"
#include "dib/DibScaling.h"
#include "framework/Dpi.h"
#include "settings/ProgramIdentity.h"
#include "framework/WindowClass.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceIds.h"
#include "settings/ResourceModule.h"
#include "settings/TextUtil.h"
#include "settings/WideText.h"
#include "settings/XVuk.h"
#include "skin/ActivityBars.h"
#include "skin/PageIndicator.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawRecorder.h"
#include "skin/SkinLayout.h"
#include "skin/SkinMainWnd.h"
#include "status/ActivityLevel.h"
#include "support/FakeDeviceIo.h"
#include "support/FakeProfileReader.h"

#include "../support/BmpBuilder.h"
#include "../support/Accessibility.h"
#include "../support/GdiObjects.h"
#include "../support/NothingKept.h"
#include "../support/ScopedFile.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace SkinLayout;

namespace {

class FakeApp : public IAppServices {
public:
    void ShowMainWindow() override {}
    void CloseStatusWindow() override {}
    void ExitApplication() override {}
    void OpenSettings() override { ++settingsCalls; }
    void StopDebugMode() override { ++stopDebugCalls; }
    void GenerateDebugLog() override { ++debugLogCalls; }
    bool HasOpenStatusWindow() const override { return false; }
    std::string GetLanguageName() const override { return "english"; }
    void RecordLineRead(LineReader, LineCondition, LineRates) override {}
    void RecordPcEvent(LineReader reader, PcEvent event) override
    {
        EXPECT_EQ(LineReader::StatusWindow, reader);
        pcEvents.push_back(event);
    }
    int stopDebugCalls = 0, debugLogCalls = 0, settingsCalls = 0;
    std::vector<PcEvent> pcEvents;
};

std::string ProgramFile(const char* name)
{
    return JoinPath(GetProgramDir(), name);
}

// Modavi.ini of the test program's folder: the lines of `overrides`, then
// the defaults (the first line of a key counts).
void WriteSettings(const std::vector<std::string>& overrides = {})
{
    std::string body;
    for (const std::string& line : overrides)
        body += line + "\r\n";
    std::ofstream(ProgramFile("Modavi.ini"), std::ios::binary)
        << SettingsText(body + "Hue=0\r\nSat=0\r\nTitlebarHue=0\r\nTitlebarSat=0\r\nTransparentBitmap=1\r\nUseHueAndSat=0\r\n"
                               "TitlebarTextRGB=255,255,255\r\nLabelTextRGB=0,255,255\r\nStatusTextRGB=255,255,0\r\n");
}

// A 24-bit logo of 40 x 30: key green (its top-left) in the left half, orange in the right.
void WriteLogo()
{
    bmptest::BmpLayout logo;
    logo.width = 40;
    logo.height = 30;
    logo.bpp = 24;
    for (int i = 0; i < logo.width * logo.height; ++i)
        logo.colors.push_back(i % logo.width < logo.width / 2 ? bmptest::Rgb{0, 255, 0} : bmptest::Rgb{255, 128, 0});
    const std::vector<uint8_t> file = bmptest::FileBitmap(logo);
    std::ofstream(ProgramFile("LogoSkin.bmp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

// Dispatches what is queued for this thread (posted commands, WM_CLOSE...).
void PumpMessages()
{
    MSG message;
    for (int round = 0; round < 4; ++round)
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
}

// The button object behind a command id of the window.
CSkinButton& Button(HWND window, UINT id)
{
    return *static_cast<CSkinButton*>(CWnd::FromHandle(GetDlgItem(window, int(id))));
}

// What the window drew: the last title, labels and values, the last bars
// and light, and a log of the draws (T title, L label, digit value row, A activity).
class Recorder : public ISkinDrawRecorder {
public:
    void OnDrawTitle(int shown, const std::wstring&, const std::wstring& text) override { page = shown, indicator = text, log += 'T'; }
    void OnDrawLabel(int row, const std::wstring& text) override { labels[row] = text, log += 'L'; }
    void OnDrawValue(int row, const std::string& text) override { values[row] = text, log += char('0' + row); }
    void OnDrawActivity(int up, int low, int image) override { upper = up, lower = low, light = image, log += 'A'; }

    int page = -1, upper = -1, lower = -1, light = -9;
    std::wstring indicator, labels[4];
    std::string values[4], log;
};

const COLORREF kFill = RGB(1, 2, 3);

// Common set-up: strings from this program file, the program's window class,
// the settings file and the logo, a scripted modem with the line up.
class SkinWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceModule(GetModuleHandleW(nullptr));
        RegisterNamedWindowClass(kProgramWindowClass);
        WriteSettings();
        WriteLogo();
        for (auto [code, value] : {std::pair<uint32_t, uint32_t>{0x0004, 2}, {0x0206, 0}, {0x0113, 5}, {0x0107, 864},
                                   {0x0103, 8128}, {0x0220, 0}, {0x01F5, 0}, {0x0301, 0}, {0x0381, 0}})
            device.answerDword(code, value);
        device.answerText(0x0001, "Driver 7.1");
        device.answerText(0x01E4, "FW 3.33");
        profile.set("vavevida.ini", "SystemInfo", "PackageVersion", "Pkg 2.5.1");
    }
    void TearDown() override
    {
        PumpMessages();
        std::remove(ProgramFile("Modavi.ini").c_str());
        std::remove(ProgramFile("LogoSkin.bmp").c_str());
    }

    FakeDeviceIo device;
    ScopedDeviceIo useDevice{device};
    FakeProfileReader profile;
    ScopedProfileReader useProfile{profile};
    FakeApp app;

    // Opens the window and reads the page it shows; the log starts empty.
    std::unique_ptr<CSkinMainWnd> Open()
    {
        auto window = std::make_unique<CSkinMainWnd>(app);
        window->SetDrawRecorder(&recorder);
        Look(*window);
        return window;
    }
    void Look(CSkinMainWnd& window)
    {
        TestCanvas canvas(388, 263);
        window.PaintContent(canvas.Dc());
        recorder.log.clear();
    }
    static void Key(CSkinMainWnd& window, UINT key)
    {
        SendMessageW(window.m_hWnd, WM_KEYDOWN, key, 0);
        SendMessageW(window.m_hWnd, WM_KEYUP, key, 0);
    }
    static void Command(CSkinMainWnd& window, UINT id) { SendMessageW(window.m_hWnd, WM_COMMAND, id, 0); }
    static int Focused(CSkinMainWnd& window)
    {
        int focused = -1;
        for (int i = 0; i < kButtonCount; ++i)
            if (Button(window.m_hWnd, kButtons[i].commandId).IsFocused())
                focused = focused == -1 ? i : -2;
        return focused;
    }
    std::vector<std::string> Values() const { return {recorder.values, recorder.values + 4}; }

    // The whole picture of a window opened with these settings.
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
    // Pixels that the screen shows otherwise than the window's whole picture (as a print paints
    // it), the buttons' own windows and the cut corners left out.
    static int ScreenUnlikePicture(CSkinMainWnd& shown)
    {
        const auto screen = CaptureClient(shown.m_hWnd);
        TestCanvas whole(screen->Width(), screen->Height());
        shown.PaintContent(whole.Dc());
        UniqueRegion face(CreateRectRgn(0, 0, 0, 0));
        GetWindowRgn(shown.m_hWnd, face.get());
        for (const ButtonPlace& b : kButtons) {
            UniqueRegion button(CreateRectRgn(b.x, b.y, b.x + b.side, b.y + b.side));
            CombineRgn(face.get(), face.get(), button.get(), RGN_DIFF);
        }
        int differ = 0;
        for (int y = 0; y < whole.Height(); ++y)
            for (int x = 0; x < whole.Width(); ++x)
                differ += PtInRegion(face.get(), x, y) && screen->At(x, y) != whole.At(x, y);
        return differ;
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

    Recorder recorder;
    std::unique_ptr<CSkinMainWnd> window;
};

TEST_F(SkinWindowTest, OpensAsRoundedPopupWithPageZeroAndFocusOnClose)
{
    auto window = Open();
    HWND hwnd = window->m_hWnd;
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME), WS_POPUP | WS_VISIBLE);
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    EXPECT_STREQ(L"Skin Test Monitor", text);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(hwnd, region));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 387, 262));
    EXPECT_TRUE(PtInRegion(region, 1, 131));
    DeleteObject(region);
    EXPECT_NE(0, SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0));

    EXPECT_EQ(0, recorder.page);
    EXPECT_EQ(L"%s%n 1/2 %d 100%", recorder.indicator); // only %d and %% are filled
    EXPECT_EQ(L"Down label", recorder.labels[2]);
    EXPECT_EQ(kCloseButton, Focused(*window));
    EXPECT_TRUE(Button(hwnd, kPreviousPageCommand).IsDisabled());
    EXPECT_FALSE(Button(hwnd, kNextPageCommand).IsDisabled());
}

TEST_F(SkinWindowTest, PageZeroShowsStateModeAndRatesOnlyWhileUp)
{
    const struct {
        const char* what;
        std::vector<uint8_t> state; // empty: the request fails
        std::vector<std::string> rows;
        int light;
    } cases[] = {
        {"up", {2, 0, 0, 0}, {"Up", "ADSL2+", "8128 kbps", "864 kbps"}, CActivityBars::kLightConnected},
        {"no signal", {3, 0, 0, 0}, {"No signal", "Multimode", "0 kbps", "0 kbps"}, CActivityBars::kLightDown},
        {"unreadable", {}, {"n/a", "Multimode", "0 kbps", "0 kbps"}, CActivityBars::kLightUnreadable},
        {"eight bytes", {2, 0, 0, 0, 0, 0, 0, 0}, {"", "Multimode", "0 kbps", "0 kbps"}, CActivityBars::kLightUnreadable},
    };
    for (const auto& c : cases) {
        if (c.state.empty())
            device.failCall(0x0004);
        else
            device.answerBytes(0x0004, c.state);
        auto window = Open();
        EXPECT_NO_THROW(window->Refresh());
        for (int row = c.rows[0].empty() ? 1 : 0; row < 4; ++row)
            EXPECT_EQ(c.rows[row], recorder.values[row]) << c.what << ", row " << row;
        EXPECT_EQ(c.light, recorder.light) << c.what;
    }
    // Annex C (1) appends the bitmap mode; annex B (3) or an unreadable annex does not.
    device.answerDword(0x0004, 2);
    auto window = Open();
    const struct { uint32_t annex, dual; bool fail; const char* mode; } modes[] = {
        {1, 1, false, "ADSL2+ (DBM)"}, {1, 0, false, "ADSL2+ (FBM)"}, {3, 1, false, "ADSL2+"}, {1, 1, true, "ADSL2+"}};
    for (const auto& m : modes) {
        device.answerDword(0x0220, m.annex);
        device.answerDword(0x01F5, m.dual);
        if (m.fail)
            device.failCall(0x0220);
        window->Refresh();
        EXPECT_EQ(m.mode, recorder.values[1]) << m.annex << "/" << m.dual << "/" << m.fail;
    }
}

// Each poll draws what changed, and the screen then shows what the window's whole picture holds.
TEST_F(SkinWindowTest, APollRedrawsOnlyTheRowsWhoseTextChangedAndAlwaysTheActivityAndItReachesTheScreen)
{
    device.answerDword(0x0107, 1000); // upstream rate, upper bar
    device.answerCounter(0x0301, 0, 2000); // 2000 cells a poll: 848 kbit against 1000 kbit/s
    auto window = Open();
    const struct { std::function<void()> script; const char* log; } polls[] = {
        {[] {}, "A"}, {[&] { device.answerDword(0x0103, 7000); }, "2A"},
        {[&] { device.answerDword(0x0004, 0); }, "0321A"}}; // the line drops: state, both rates and the mode change
    for (const auto& poll : polls) {
        poll.script();
        recorder.log.clear();
        window->Refresh();
        EXPECT_EQ(poll.log, recorder.log);
        EXPECT_EQ(0, ScreenUnlikePicture(*window)) << poll.log;
        if (&poll == &polls[1]) {
            EXPECT_EQ(std::make_tuple(84, 0, std::string("7000 kbps")),
                      std::make_tuple(recorder.upper, recorder.lower, recorder.values[2]));
        }
    }
}

TEST_F(SkinWindowTest, PagesTurnOnlyWhereThereIsAPageAndPollTheirOwnFields)
{
    auto window = Open();
    size_t calls = device.calls().size();
    Command(*window, kPreviousPageCommand);
    EXPECT_EQ("", recorder.log);
    EXPECT_EQ(calls, device.calls().size());

    device.clearRecords();
    Command(*window, kNextPageCommand);
    EXPECT_EQ("TLLLL0123013A", recorder.log); // the whole page, then what the poll changed
    EXPECT_EQ(0, ScreenUnlikePicture(*window)) << "the page as a whole reached the screen";
    EXPECT_EQ(1, recorder.page);
    EXPECT_EQ(L"%s%n 2/2 %d 100%", recorder.indicator);
    EXPECT_EQ((std::vector<std::string>{"Pkg 2.5.1", "Driver 7.1", MODAVI_VERSION_TEXT, "FW 3.33"}), Values());
    EXPECT_EQ(L"Package label", recorder.labels[0]);
    EXPECT_FALSE(Button(window->m_hWnd, kPreviousPageCommand).IsDisabled());
    EXPECT_TRUE(Button(window->m_hWnd, kNextPageCommand).IsDisabled());
    // Page 1 polls its own fields besides the line state and the two rates.
    EXPECT_EQ(0u, device.callCount(0x0113));
    EXPECT_EQ(1u, device.callCount(0x0004));
    EXPECT_EQ(1u, device.callCount(0x0001));

    recorder.log.clear();
    calls = device.calls().size();
    Command(*window, kNextPageCommand);
    EXPECT_EQ("", recorder.log);
    EXPECT_EQ(calls, device.calls().size());
    device.answerDword(0x0103, 1);
    window->Refresh();
    EXPECT_EQ("A", recorder.log); // page 0's rows are not drawn while page 1 shows
    Command(*window, kPreviousPageCommand);
    EXPECT_EQ(0, recorder.page);
    EXPECT_EQ("1 kbps", recorder.values[2]);
}

TEST_F(SkinWindowTest, KeysMoveTheFocusPressTheFocusedButtonAndClose)
{
    auto window = Open();
    const size_t polls = device.callCount(0x0004);
    Key(*window, VK_TAB);
    EXPECT_EQ(kPreviousButton, Focused(*window));
    EXPECT_NE(std::string::npos, recorder.log.find('A')) << "a focus move polls";
    EXPECT_EQ(polls + 1, device.callCount(0x0004));
    // Shift+Tab goes back and wraps; Enter on the disabled previous button does nothing.
    BYTE keys[256], shifted[256];
    GetKeyboardState(keys);
    std::copy(keys, keys + 256, shifted);
    shifted[VK_SHIFT] = 0x80;
    SetKeyboardState(shifted);
    Key(*window, VK_TAB);
    EXPECT_EQ(kCloseButton, Focused(*window));
    Key(*window, 'L'); // Shift+L alone asks for nothing
    shifted[VK_CONTROL] = 0x80;
    SetKeyboardState(shifted);
    Key(*window, 'L');
    SetKeyboardState(keys);
    EXPECT_EQ(1, app.debugLogCalls);
    Key(*window, VK_TAB);
    Key(*window, VK_RETURN);
    PumpMessages();
    EXPECT_EQ(0, recorder.page);
    Key(*window, VK_TAB);
    Key(*window, VK_SPACE);
    PumpMessages();
    EXPECT_EQ(1, recorder.page);

    // The arrows and the page keys turn the pages; at an end they do nothing.
    for (const auto& [key, page] : {std::pair{VK_LEFT, 0}, std::pair{VK_LEFT, 0}, std::pair{VK_NEXT, 1},
                                    std::pair{VK_RIGHT, 1}, std::pair{VK_PRIOR, 0}, std::pair{VK_RIGHT, 1}}) {
        Key(*window, UINT(key));
        EXPECT_EQ(page, window->m_hWnd ? recorder.page : -1) << key;
    }

    // Enter, Space or Escape right after the start close the window.
    for (UINT key : {UINT(VK_RETURN), UINT(VK_SPACE), UINT(VK_ESCAPE)}) {
        app.stopDebugCalls = 0;
        auto other = Open();
        HWND hwnd = other->m_hWnd;
        Key(*other, key);
        PumpMessages();
        EXPECT_FALSE(IsWindow(hwnd)) << key;
        EXPECT_EQ(1, app.stopDebugCalls) << key;
    }
}

TEST_F(SkinWindowTest, MinimiseDragTimerSleepAndTeardown)
{
    auto window = Open();
    HWND hwnd = window->m_hWnd;
    PumpMessages();
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 230));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(WPARAM(HTCAPTION), message.wParam);
    EXPECT_EQ(230, GET_Y_LPARAM(message.lParam));

    Command(*window, kMinimiseCommand);
    EXPECT_TRUE(IsIconic(hwnd));
    const size_t before = device.callCount(0x0004);
    SendMessageW(hwnd, WM_TIMER, CSkinMainWnd::kPollTimer, 0);
    SendMessageW(hwnd, WM_TIMER, 77, 0);
    EXPECT_EQ(before + 1, device.callCount(0x0004));
    SendMessageW(hwnd, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_FALSE(KillTimer(hwnd, CSkinMainWnd::kPollTimer)) << "no polls while the PC sleeps";
    SendMessageW(hwnd, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0); // the wake, had its first message been missed
    PumpMessages();
    EXPECT_EQ(before + 2, device.callCount(0x0004)) << "a poll at once at the wake";
    EXPECT_TRUE(KillTimer(hwnd, CSkinMainWnd::kPollTimer)) << "and every second again";
    EXPECT_EQ((std::vector<PcEvent>{PcEvent::Sleep, PcEvent::Wake}), app.pcEvents);

    HWND button = GetDlgItem(hwnd, kMinimiseCommand);
    HWND tooltip = Button(hwnd, kMinimiseCommand).GetTooltip();
    window.reset();
    EXPECT_FALSE(IsWindow(hwnd) || IsWindow(button) || IsWindow(tooltip));

    std::remove(ProgramFile("LogoSkin.bmp").c_str());
    EXPECT_THROW(CSkinMainWnd failed(app), XVuk);
    WriteLogo();
    std::remove(ProgramFile("Modavi.ini").c_str());
    EXPECT_THROW(CSkinMainWnd failed(app), XVuk);
    EXPECT_EQ(nullptr, FindWindowW(kProgramWindowClass, L"Skin Test Monitor"));
}

TEST(PageIndicator, FillsOnlyTwoDecimalConversionsAndPercentSigns)
{
    const struct { const wchar_t *format, *text; } cases[] = {
        {L"Page %d of %d", L"Page 1 of 2"}, {L"100%% %d", L"100% 1"}, {L"%s %n %x %d %d %d", L"%s %n %x 1 2 %d"},
        {L"end %", L"end %"}, {L"%5d|%-d", L"%5d|%-d"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.text, FormatPageIndicator(c.format, 1, 2)) << c.format;
}

// ---- The button's state machine, on a plain parent -------------------------

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceModule(GetModuleHandleW(nullptr));
        std::wstring className = RegisterAnonymousWindowClass(0, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent.CreateEx(0, className.c_str(), L"parent", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, 0));
        RECT place = {20, 10, 37, 27};
        button.m_strip.LoadFromResource(IDB_SKIN_BUTTONS);
        button.Create(parent, place, 60, 105, L"Close tip");
    }
    void TearDown() override { ReleaseCapture(); }

    // WM_COMMAND messages from the button that reached the parent's queue.
    int Commands()
    {
        int count = 0;
        MSG message;
        while (PeekMessageW(&message, parent.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            count += message.wParam == 105 && HWND(message.lParam) == button.m_hWnd;
        return count;
    }
    void Mouse(UINT message, int x, int y)
    {
        SendMessageW(button.m_hWnd, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }

    CWnd parent;
    CSkinButton button;
};

TEST_F(ButtonTest, MouseStatesAndCapture)
{
    const struct {
        const char* step;
        UINT message;
        int x, y;
        CSkinButton::Image image;
        bool capture;
        int commands;
    } steps[] = {
        {"enter", WM_MOUSEMOVE, 5, 5, CSkinButton::kImageHot, true, 0},
        {"leave", WM_MOUSEMOVE, 40, 5, CSkinButton::kImageNormal, false, 0},
        {"enter again", WM_MOUSEMOVE, 5, 5, CSkinButton::kImageHot, true, 0},
        {"press", WM_LBUTTONDOWN, 5, 5, CSkinButton::kImagePressed, true, 0},
        {"leave pressed", WM_MOUSEMOVE, -8, 30, CSkinButton::kImagePressed, true, 0},
        {"return", WM_MOUSEMOVE, 6, 6, CSkinButton::kImagePressed, true, 0},
        {"release inside", WM_LBUTTONUP, 6, 6, CSkinButton::kImageNormal, false, 1},
        {"enter", WM_MOUSEMOVE, 5, 5, CSkinButton::kImageHot, true, 0},
        {"press", WM_LBUTTONDOWN, 5, 5, CSkinButton::kImagePressed, true, 0},
        {"release on the right edge", WM_LBUTTONUP, 17, 5, CSkinButton::kImageNormal, false, 0},
    };
    for (const auto& s : steps) {
        Mouse(s.message, s.x, s.y);
        EXPECT_EQ(s.image, button.CurrentImage()) << s.step;
        EXPECT_EQ(s.capture, GetCapture() == button.m_hWnd) << s.step;
        EXPECT_EQ(s.commands, Commands()) << s.step;
    }
    // Losing the capture ends hot and pressed.
    Mouse(WM_MOUSEMOVE, 5, 5);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    SetCapture(parent.m_hWnd);
    EXPECT_EQ(CSkinButton::kImageNormal, button.CurrentImage());
    ReleaseCapture();
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(0, Commands());
}

TEST_F(ButtonTest, KeysPressOnlyTheFocusedEnabledButton)
{
    const struct {
        bool focused, enabled;
        UINT down, up;
        int commands;
    } cases[] = {
        {false, true, VK_RETURN, VK_RETURN, 0}, {true, true, VK_RETURN, VK_RETURN, 1}, {true, true, VK_SPACE, VK_SPACE, 1},
        {true, true, 0, VK_SPACE, 0}, {true, true, VK_RETURN, 'A', 0}, {true, false, VK_RETURN, VK_RETURN, 0}};
    for (const auto& c : cases) {
        button.SetFocused(c.focused);
        button.SetEnabled(c.enabled);
        if (c.down)
            button.KeyDown(c.down);
        EXPECT_EQ(c.commands == 1 || c.up == 'A', button.IsPressed()) << c.down;
        button.KeyUp(c.up);
        EXPECT_EQ(c.commands, Commands()) << c.down << "/" << c.up;
        button.KeyDown(VK_TAB); // another key clears a pending press
        EXPECT_FALSE(button.IsPressed());
    }
    Mouse(WM_MOUSEMOVE, 5, 5); // disabled: no hover, no capture
    EXPECT_EQ(CSkinButton::kImageDisabled, button.CurrentImage());
    EXPECT_NE(button.m_hWnd, GetCapture());
}

// ---- Soak ------------------------------------------------------------------

// Thousands of polls against a modem whose counters move and whose line comes
// and goes, with repaints, page turns, focus moves and hovers between them.
TEST_F(SkinWindowTest, HandlesAndGdiObjectsStayFlatOverAnHourOfPolls)
{
    device.answerCounter(0x0301, 4294000000u, 7919);
    device.answerCounter(0x0381, 0, 104729);
    auto window = std::make_unique<CSkinMainWnd>(app);
    HWND hwnd = window->m_hWnd;
    auto tick = [&](int n) {
        device.answerDword(0x0004, n % 97 < 5 ? 1 : n % 97 < 8 ? 0 : 2);
        device.answerDword(0x0103, 8000 + uint32_t(n % 13));
        device.answerDword(0x0220, n % 3 == 0 ? 1 : 0);
        if (n % 211 == 0)
            device.failCall(0x0001);
        else
            device.answerText(0x0001, n % 5 ? "Driver 7.1" : "Driver 7.2");
        SendMessageW(hwnd, WM_TIMER, CSkinMainWnd::kPollTimer, 0);
        if (n % 10 == 0)
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (n % 50 == 0)
            Command(*window, n % 100 ? kPreviousPageCommand : kNextPageCommand);
        if (n % 7 == 0)
            Key(*window, VK_TAB);
        if (n % 33 == 0) {
            SendMessageW(GetDlgItem(hwnd, kMinimiseCommand), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
            SendMessageW(GetDlgItem(hwnd, kMinimiseCommand), WM_MOUSEMOVE, 0, MAKELPARAM(40, 4));
        }
        PumpMessages();
        device.clearRecords(); // the fake keeps every request otherwise
    };
    int n = 0;
    for (; n < 60; ++n)
        tick(n);
    const int gdi = CountLiveGdiObjects();
    const DWORD handles = HandleCount();
    ASSERT_GT(gdi, 0);
    for (; n < 3660; ++n)
        tick(n);
    EXPECT_EQ(gdi, CountLiveGdiObjects());
    EXPECT_EQ(handles, HandleCount());
    window.reset();
    EXPECT_LT(CountLiveGdiObjects(), gdi);
    // The handle count sees one more handle.
    const DWORD now = HandleCount();
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(now + 1, HandleCount());
    CloseHandle(event);
}

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
                    const bool on = i < (bar == kDownstreamBar ? lower : upper) / 10;
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
        bars.m_nDownstreamLevel = c.lower;
        bars.m_nUpstreamLevel = c.upper;
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
        EXPECT_EQ(c.load, SkinActivityLoad(c.cells, c.rate)) << c.cells << "/" << c.rate;
    EXPECT_GE(SkinActivityLoad(0xFFFFFFFFu, 1), 100);
}

LinePoll Poll(uint32_t state)
{
    LinePoll poll;
    poll.stateReadable = true;
    poll.state = state;
    poll.upstreamRate = 10;
    poll.downstreamRate = 1000000;
    return poll;
}

TEST(ActivityPoll, TrainingBlinksAndCountersAreDifferencedAgainstTheirOwnRates)
{
    FakeDeviceIo device;
    ScopedDeviceIo use{device};
    CActivityBars::s_nBlinkCounter = 0;
    CActivityBars bars, other;
    std::vector<int> images;
    for (int i = 0; i < 4; ++i) {
        (i == 2 ? other : bars).Update(Poll(1)); // the rhythm is the program's, not the window's
        images.push_back((i == 2 ? other : bars).m_nLightImage);
    }
    EXPECT_EQ((std::vector<int>{2, 0, 2, 0}), images);
    EXPECT_EQ(0u, device.callCount(0x0301)); // counters are read only while up
    bars.Update(Poll(7));
    EXPECT_EQ(CActivityBars::kLightDown, bars.m_nLightImage);
    bars.Update(LinePoll());
    EXPECT_EQ(CActivityBars::kLightUnreadable, bars.m_nLightImage);

    device.answerDword(0x0301, 4294967000u);
    device.answerDword(0x0381, 2147483648u);
    bars.Update(Poll(2));
    device.answerDword(0x0301, 200);
    device.answerDword(0x0381, 2147483648u + 1000);
    bars.Update(Poll(2));
    EXPECT_EQ(2103, bars.m_nUpstreamLevel); // 496 cells (modulo 2^32) against 10 kbit/s
    EXPECT_EQ(11, bars.m_nDownstreamLevel);   // 1000 cells against 1000000 kbit/s
    bars.Update(Poll(0)); // a disconnection keeps the previous values
    bars.Update(Poll(2));
    EXPECT_EQ(0, bars.m_nUpstreamLevel);
    device.failCall(0x0301); // a failed counter reads 0 and is remembered as such
    bars.Update(Poll(2));
    EXPECT_EQ(0u, bars.m_nUpstreamPrevious);
}

// ---- The whole window picture ------------------------------------------------


TEST_F(SkinWindowTest, BackgroundLogoTitleBarPanelLightAndTextColours)
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
    // A preview draws the open window with other colours, and goes back to the file's.
    SkinColours preview;
    preview.statusText = 0x8000FF;
    window->PreviewColours(&preview);
    auto previewed = Repaint();
    EXPECT_EQ(GetRValue(previewed->At(5, 100)), GetGValue(previewed->At(5, 100))) << "Hue and Sat 0: greys";
    EXPECT_GT(Count(*previewed, {198, 73, 359, 189}, RGB(255, 0, 128)), 20);
    window->PreviewColours(nullptr);
    EXPECT_EQ(0, CountWrong(*Repaint(), *coloured, [](int, int) { return true; }));
    WriteSettings({"StatusTextRGB=255,0,128"});
    EXPECT_GT(Count(*Repaint(), {198, 73, 359, 189}, RGB(255, 0, 128)), 20);
    Command(*window, kCommandSettings); // the window's own menu's item
    EXPECT_EQ(1, app.settingsCalls);
}

// Each state shows the top-left of its image in the strip column, with the
// key colour left out; the strip follows Hue/Sat only with UseHueAndSat=1.
TEST_F(SkinWindowTest, ButtonsShowTheirStateImagesAndTheFocusRing)
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
    // The focused close button: a dotted outline of its whole picture, and a
    // line in the accent colour inside it, two pixels in; the others neither.
    for (UINT id : {kCloseWindowCommand, kMinimiseCommand}) {
        TestCanvas canvas(17, 17);
        canvas.Fill(kFill);
        Button(window->m_hWnd, id).PaintContent(canvas.Dc());
        const COLORREF ring = RGB(164, 164, 164), mark = RGB(22, 132, 216);
        int onOutline = 0, inside = 0, marked = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) {
                (x == 0 || y == 0 || x == 16 || y == 16 ? onOutline : inside) += canvas.At(x, y) == ring;
                marked += canvas.At(x, y) == mark && (x == 2 || y == 2 || x == 14 || y == 14);
            }
        const bool focused = id == kCloseWindowCommand;
        EXPECT_EQ(focused, onOutline > 12 && onOutline < 64 - 12) << id;
        EXPECT_EQ(0, inside) << id;
        EXPECT_EQ(focused, marked > 30) << id;
    }
}

// At each DPI the window is the window of 96 DPI scaled as a whole: its
// size and region, the buttons' places, the pictures (the 200 % art, or that
// reduced), the rows' text and the bars; and back at 96 exactly as it was,
// with nothing kept of the scales it went through.
TEST_F(SkinWindowTest, ScalesAsAWholeWithItsDpi)
{
    auto window = Open();
    HWND hwnd = window->m_hWnd;
    auto scaled = [](int length, unsigned dpi) { return Dpi::Scale(length, dpi); };
    // The rows of label pixels (0,255,255) in the label column: how high the text runs.
    auto labelSpan = [&](const TestCanvas& canvas, unsigned dpi) {
        int top = -1, bottom = -1;
        for (int y = scaled(53, dpi); y < scaled(189, dpi); ++y)
            if (Count(canvas, {scaled(27, dpi), y, scaled(188, dpi), y + 1}, RGB(0, 255, 255)))
                bottom = y, top = top < 0 ? y : top;
        return std::make_pair(top, bottom);
    };
    std::pair<int, int> span96;
    for (unsigned dpi : {96u, 144u, 120u, 192u, 96u}) {
        SCOPED_TRACE(dpi);
        const int width = scaled(388, dpi), height = scaled(263, dpi);
        RECT suggested = {10, 20, 10 + width, 20 + height}, placed;
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(hwnd, &placed);
        EXPECT_TRUE(EqualRect(&suggested, &placed));
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(hwnd, region);
        EXPECT_FALSE(PtInRegion(region, 0, 0) || PtInRegion(region, width - 1, height - 1));
        EXPECT_TRUE(PtInRegion(region, 1, height / 2) && PtInRegion(region, width - 2, height / 2));
        DeleteObject(region);
        for (const ButtonPlace& place : kButtons) {
            RECT button;
            GetWindowRect(GetDlgItem(hwnd, int(place.commandId)), &button);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&button), 2);
            const int x = scaled(place.x, dpi), y = scaled(place.y, dpi), side = scaled(place.side, dpi);
            const RECT expected = {x, y, x + side, y + side};
            EXPECT_TRUE(EqualRect(&expected, &button)) << place.commandId;
            // Its picture leaves out every pixel of the strip's key (magenta), even reduced.
            TestCanvas picture(side, side);
            picture.Fill(kFill);
            Button(hwnd, place.commandId).PaintContent(picture.Dc());
            EXPECT_EQ(0, Count(picture, {0, 0, side, side}, RGB(255, 0, 255))) << place.commandId;
            EXPECT_TRUE(Button(hwnd, place.commandId).IsFocused() || picture.At(0, 0) == kFill) << place.commandId;
        }

        TestCanvas canvas(width, height), expected(width, height);
        canvas.Fill(kFill);
        window->PaintContent(canvas.Dc());
        CDib background(false), titleBar(false), lights(true);
        for (CDib* picture : {&background, &titleBar})
            picture->m_bRecolor = true; // Hue, Sat 0: greys
        LoadResourceForDpi(background, {IDB_SKIN_BACKGROUND, IDB_SKIN_BACKGROUND_200}, dpi);
        LoadResourceForDpi(titleBar, {IDB_SKIN_TITLEBAR, IDB_SKIN_TITLEBAR_200}, dpi);
        LoadResourceForDpi(lights, {IDB_SKIN_LIGHTS, IDB_SKIN_LIGHTS_200}, dpi);
        EXPECT_EQ(width, background.m_nWidth);
        background.Draw(expected.Dc(), 0, 0);
        titleBar.Draw(expected.Dc(), scaled(27, dpi), scaled(53, dpi));
        lights.Draw(expected.Dc(), scaled(247, dpi), scaled(205, dpi), scaled(1, dpi), 0, scaled(11, dpi), scaled(11, dpi));
        for (int bar = 0; bar < 2; ++bar)
            for (int i = 0; i < 10; ++i) {
                const int left = scaled(kBars[bar].x + 9 * i, dpi), top = scaled(kBars[bar].y, dpi);
                const RECT segment = {left, top, left + scaled(5, dpi), top + scaled(15, dpi)};
                FillRect(expected.Dc(), &segment, UniqueBrush(CreateSolidBrush(i < 4 ? RGB(0, 64, 0) : i < 7 ? RGB(64, 64, 0) : RGB(64, 0, 0))).get());
            }
        EXPECT_EQ(0, Count(canvas, {0, 0, width, height}, RGB(0, 0, 255))) << "the lights' key left out";
        // Everything but the logo's band and the text panel is that picture.
        EXPECT_EQ(0, CountWrong(canvas, expected, [&](int x, int y) {
            return y >= scaled(53, dpi) && (x < scaled(27, dpi) || x >= scaled(359, dpi) || y >= scaled(189, dpi));
        }));
        // The title bar stands on the panel's corner, the rows' text is as much taller.
        EXPECT_EQ(expected.At(scaled(30, dpi), scaled(54, dpi)), canvas.At(scaled(30, dpi), scaled(54, dpi)));
        const std::pair<int, int> span = labelSpan(canvas, dpi);
        if (dpi == 96 && !span96.second)
            span96 = span;
        // (The font rounds its height and placing at each size a little its own way.)
        EXPECT_NEAR(scaled(span96.first, dpi), span.first, 4);
        EXPECT_NEAR(scaled(span96.second, dpi), span.second, 4);
    }
    // A hundred moves between two scales keep no GDI object and no handle.
    ExpectNothingKept(102, [&](int n) {
        const unsigned dpi = n % 2 ? 144 : 96;
        RECT suggested = {10, 20, 10 + scaled(388, dpi), 20 + scaled(263, dpi)};
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    });
}

// What a screen reader reads of the window, in this program's strings and in
// German: the buttons as push buttons named by their tool-tips (the focused
// one focused, the disabled one unavailable), the painted face in reading
// order; a change of the line's state is told once, as the light's new name,
// and a steady line not at all.
TEST_F(SkinWindowTest, ReadsAsAScreenReaderWould)
{
    AccessibilityWatch watch;
    const std::string german = JoinPath(GetProgramDir(), "..\\..\\dist\\CplGermn.dll");
    UniqueModule module(LoadLibraryA(german.c_str()));
    ASSERT_TRUE(module) << german;
    for (HMODULE strings : {GetModuleHandleW(nullptr), module.get()}) {
        SCOPED_TRACE(strings == module.get() ? "German" : "test strings");
        SetResourceModule(strings);
        device.answerDword(0x0004, 2);
        auto window = Open();
        HWND hwnd = window->m_hWnd;
        for (int i = 0; i < kButtonCount; ++i) {
            const Reading button = ReadAccessible(GetDlgItem(hwnd, int(kButtons[i].commandId)), CHILDID_SELF);
            EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, button.role);
            EXPECT_EQ(LoadResString(kButtons[i].tooltipId), button.name);
            EXPECT_EQ(i == kCloseButton, (button.state & STATE_SYSTEM_FOCUSED) != 0) << i;
            EXPECT_EQ(i == kPreviousButton, (button.state & STATE_SYSTEM_UNAVAILABLE) != 0) << i;
        }
        const std::wstring up = ListLabel(LoadResString(IDS_LINE_STATES), L"2");
        const std::wstring face[][2] = {
            {LoadResString(IDS_TAB_STATUS), FormatPageIndicator(LoadResString(IDS_PAGE_FORMAT), 1, 2)},
            {LoadResString(IDS_LABEL_STATE), up},
            {LoadResString(IDS_LABEL_MODE), ListLabel(LoadResString(IDS_LINE_MODES), L"5")},
            {LoadResString(IDS_LABEL_DOWNSTREAM), L"8128 kbps"}, {LoadResString(IDS_LABEL_UPSTREAM), L"864 kbps"},
            {up, L""}, {LoadResString(IDS_GROUP_ACTIVITY), FillPlaceholders(LoadResString(IDS_METER_VALUE), L"0", L"0")}};
        const long roles[] = {ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_STATICTEXT,
                              ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_GRAPHIC, ROLE_SYSTEM_PROGRESSBAR};
        for (long child = 1; child <= CSkinMainWnd::kAccessibleElements; ++child) {
            const Reading element = ReadAccessible(hwnd, child);
            EXPECT_EQ(roles[child - 1], element.role) << child;
            EXPECT_EQ(face[child - 1][0], element.name) << child;
            EXPECT_EQ(face[child - 1][1], element.value) << child;
        }
        // A steady line tells nothing; the line going down is told once as the light's name.
        PumpMessages();
        g_told.clear();
        window->Refresh();
        device.answerDword(0x0004, 0);
        window->Refresh();
        PumpMessages();
        EXPECT_EQ(1, NameChangesOf(hwnd));
        EXPECT_TRUE(std::count(g_told.begin(), g_told.end(),
                               std::make_tuple(DWORD(EVENT_OBJECT_NAMECHANGE), hwnd, LONG(CSkinPainter::kRowCount + 2))));
    }
    SetResourceModule(GetModuleHandleW(nullptr));
}

} // namespace
